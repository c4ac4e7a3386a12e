// The SDL2 backend's display: a window showing the 320x200 frame through the palette,
// scaled by a whole number with square pixels, and the message box.
#include <algorithm>
#include <cstring>

#include "platform/sdl_backend.h"

namespace qvar {

namespace {

constexpr int FIELD_W = 320;
constexpr int FIELD_H = 200;
constexpr const char* WINDOW_TITLE = "QVAR Game Console";

uint32_t argb(Rgb c) { return 0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | uint32_t{c.b}; }

std::string sdl_reason(const char* what) { return std::string(what) + ": " + SDL_GetError(); }

// The name of the OpenGL implementation behind an OpenGL renderer, "" for any other renderer.
std::string gl_renderer_name(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr) return "";
    if (std::strncmp(info.name, "opengl", 6) != 0 || SDL_GL_GetCurrentContext() == nullptr) return "";
    using GetString = const unsigned char* (*)(unsigned int);
    constexpr unsigned int GL_RENDERER_NAME = 0x1F01;  // GL_RENDERER
    auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = get_string != nullptr ? get_string(GL_RENDERER_NAME) : nullptr;
    return name != nullptr ? reinterpret_cast<const char*>(name) : "";
}

// Without a graphics card (a virtual display, a remote session) the "accelerated" renderer is
// OpenGL drawn by the processor, which costs several times what SDL's own software renderer
// does for the same picture: a third of a core instead of a tenth for the menu. Then the
// software renderer draws straight into the window, unless the player chose a driver.
SDL_Renderer* make_renderer(SDL_Window* window) {
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    const bool chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    if (renderer != nullptr && (chosen || !is_software_gl(gl_renderer_name(renderer)))) return renderer;
    if (renderer != nullptr) SDL_DestroyRenderer(renderer);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");  // no GL texture behind the window surface
    return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

}  // namespace

bool is_software_gl(const std::string& renderer_name) {
    for (const char* mark : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast", "GDI Generic"})
        if (renderer_name.find(mark) != std::string::npos) return true;
    return false;
}

std::unique_ptr<Platform> make_sdl_platform(const SdlOptions& options) { return std::make_unique<SdlPlatform>(options); }

SdlPlatform::~SdlPlatform() {
    release_display();
    if (video_started_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// The largest whole factor at which the window, frame included, fits the usable desktop.
int SdlPlatform::fitting_scale() const {
    SDL_Rect usable{0, 0, FIELD_W, FIELD_H};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    return std::max(1, std::min(usable.w / FIELD_W, usable.h / FIELD_H));
}

bool SdlPlatform::create_window(std::string& error) {
    const bool full = options_.fullscreen;
    scale_ = full ? 1 : (options_.scale > 0 ? options_.scale : fitting_scale());
    const uint32_t flags = SDL_WINDOW_HIDDEN | (full ? static_cast<uint32_t>(SDL_WINDOW_FULLSCREEN_DESKTOP) : 0u);
    window_ = SDL_CreateWindow(WINDOW_TITLE, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, FIELD_W * scale_,
                               FIELD_H * scale_, flags);
    if (window_ == nullptr) {
        error = sdl_reason("cannot create the window");
        return false;
    }
    int top = 0, left = 0, bottom = 0, right = 0;
    SDL_Rect usable{};
    if (!full && options_.scale == 0 && scale_ > 1 && SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) == 0 &&
        SDL_GetDisplayUsableBounds(0, &usable) == 0 &&
        (FIELD_H * scale_ + top + bottom > usable.h || FIELD_W * scale_ + left + right > usable.w)) {
        --scale_;  // the frame's title bar would push the window off the desktop
        SDL_SetWindowSize(window_, FIELD_W * scale_, FIELD_H * scale_);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    renderer_ = make_renderer(window_);
    if (renderer_ == nullptr) {
        error = sdl_reason("cannot create a renderer");
        return false;
    }
    if (SDL_RenderSetLogicalSize(renderer_, FIELD_W, FIELD_H) != 0 || SDL_RenderSetIntegerScale(renderer_, SDL_TRUE) != 0) {
        error = sdl_reason("cannot set the picture's scale");
        return false;
    }
    return true;
}

bool SdlPlatform::create_texture(std::string& error) {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, FIELD_W, FIELD_H);
    texture_lost_ = false;
    if (texture_ == nullptr) {
        error = sdl_reason("cannot create the frame texture");
        return false;
    }
    return true;
}

bool SdlPlatform::open_display(std::string& error) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");  // nearest neighbour: square, sharp pixels
    if (!video_started_) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            error = sdl_reason("cannot start the video system");
            return false;
        }
        video_started_ = true;
    }
    if (!create_window(error) || !create_texture(error)) {
        release_display();
        return false;
    }
    const Palette first = initial_palette();
    for (size_t i = 0; i < colours_.size(); ++i) colours_[i] = argb(first[i]);
    events_.modifiers = static_cast<uint32_t>(SDL_GetModState());
    SDL_ShowCursor(SDL_DISABLE);
    SDL_StartTextInput();
    SDL_ShowWindow(window_);
    // Going full screen once the window is mapped also works without a window manager.
    if (options_.fullscreen) SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_RaiseWindow(window_);
    x11_socket_ = sdl_x11_socket(window_);
    int out_w = 0, out_h = 0;
    if (options_.fullscreen && SDL_GetRendererOutputSize(renderer_, &out_w, &out_h) == 0)
        scale_ = std::max(1, std::min(out_w / FIELD_W, out_h / FIELD_H));
    return true;
}

void SdlPlatform::set_palette_entry(uint8_t index, Rgb colour) { colours_[index] = argb(colour); }

void SdlPlatform::present(const uint8_t* pixels) {
    if (renderer_ == nullptr) return;
    std::string error;
    if (texture_lost_ && !create_texture(error)) return;
    void* memory = nullptr;
    int pitch = 0;
    // A failed lock gives no memory to write to: this frame is skipped.
    if (texture_ == nullptr || SDL_LockTexture(texture_, nullptr, &memory, &pitch) != 0 || memory == nullptr) return;
    auto* rows = static_cast<uint8_t*>(memory);
    for (int y = 0; y < FIELD_H; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(rows + static_cast<ptrdiff_t>(y) * pitch);
        const uint8_t* in = pixels + static_cast<ptrdiff_t>(y) * FIELD_W;
        for (int x = 0; x < FIELD_W; ++x) out[x] = colours_[in[x]];
    }
    SDL_UnlockTexture(texture_);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);  // the bars round a letterboxed picture
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

void SdlPlatform::release_display() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    x11_socket_ = -1;
}

void SdlPlatform::message_box(const std::string& caption, const std::string& text) {
    // Without a display the box cannot be shown; the caller has written the text to stderr.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}

}  // namespace qvar
