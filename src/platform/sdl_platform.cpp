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

// The accelerated renderer, when there is a graphics card or the player chose a driver;
// null otherwise. Without a graphics card (a virtual display, a remote session) OpenGL is
// drawn by the processor and costs several times what drawing into the window does.
SDL_Renderer* accelerated_renderer(SDL_Window* window) {
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    const bool chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    if (renderer != nullptr && (chosen || !is_software_gl(gl_renderer_name(renderer)))) return renderer;
    if (renderer != nullptr) SDL_DestroyRenderer(renderer);
    return nullptr;
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
    return true;
}

// With a graphics card, the accelerated renderer. Without one, the window's own pixels,
// reached without a GL texture behind them; when they are not 32-bit, SDL's software
// renderer does the conversion.
bool SdlPlatform::choose_drawing(std::string& error) {
    renderer_ = accelerated_renderer(window_);
    if (renderer_ != nullptr) return create_texture(error);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface != nullptr && surface->format->BytesPerPixel == 4) {
        use_pixel_format(surface->format->format);
        return true;
    }
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr) {
        error = sdl_reason("cannot create a renderer");
        return false;
    }
    return create_texture(error);
}

bool SdlPlatform::create_texture(std::string& error) {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, FIELD_W, FIELD_H);
    texture_lost_ = false;
    if (texture_ == nullptr) {
        error = sdl_reason("cannot create the frame texture");
        return false;
    }
    use_pixel_format(SDL_PIXELFORMAT_ARGB8888);
    return true;
}

// Keeps the palette's pixel values in `format`, the target's.
void SdlPlatform::use_pixel_format(uint32_t format) {
    if (pixel_format_ != nullptr && pixel_format_->format == format) return;
    if (pixel_format_ != nullptr) SDL_FreeFormat(pixel_format_);
    pixel_format_ = SDL_AllocFormat(format);
    for (size_t i = 0; i < palette_.size(); ++i) set_palette_entry(static_cast<uint8_t>(i), palette_[i]);
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
    palette_ = initial_palette();
    if (!create_window(error) || !choose_drawing(error)) {
        release_display();
        return false;
    }
    events_.modifiers = static_cast<uint32_t>(SDL_GetModState());
    SDL_ShowCursor(SDL_DISABLE);
    SDL_StartTextInput();
    SDL_ShowWindow(window_);
    // Going full screen once the window is mapped also works without a window manager.
    if (options_.fullscreen) SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_RaiseWindow(window_);
    x11_socket_ = sdl_x11_socket(window_);
    int out_w = 0, out_h = 0;
    SDL_GetWindowSizeInPixels(window_, &out_w, &out_h);
    events_.fit = fit_picture(out_w, out_h);
    if (options_.fullscreen) scale_ = std::max(1, events_.fit.scale_x);
    return true;
}

void SdlPlatform::set_palette_entry(uint8_t index, Rgb colour) {
    const Rgb was = palette_[index];
    if (was.r != colour.r || was.g != colour.g || was.b != colour.b) shown_valid_ = false;
    palette_[index] = colour;
    colours_[index] = pixel_format_ != nullptr ? SDL_MapRGB(pixel_format_, colour.r, colour.g, colour.b) : 0;
}

void SdlPlatform::present(const uint8_t* pixels) {
    events_.keys_tapped = 0;
    if (window_ == nullptr) return;
    if (renderer_ != nullptr)
        present_with_renderer(pixels);
    else
        present_into_window(pixels);
}

// Straight into the window's pixels, which keep the last frame: only the parts of the
// picture that changed since are expanded through the palette, scaled and sent to the
// screen. The bars are drawn only when the window's surface is new, and a palette change
// redraws the whole picture.
void SdlPlatform::present_into_window(const uint8_t* pixels) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr || surface->format->BytesPerPixel != 4) return;  // this frame is skipped
    if (surface != surface_) {
        surface_ = surface;
        use_pixel_format(surface->format->format);
        events_.fit = fit_picture(surface->w, surface->h);
        bars_due_ = true;
    }
    constexpr int MAX_PARTS = 8;
    FieldRect parts[MAX_PARTS];
    int count = 0;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    const PictureFit& fit = events_.fit;
    auto* target = static_cast<uint8_t*>(surface->pixels);
    if (bars_due_) fill_bars(target, surface->pitch, surface->w, surface->h, fit, SDL_MapRGB(surface->format, 0, 0, 0));
    const bool whole = !shown_valid_ || bars_due_;
    if (whole)
        draw_scaled(pixels, colours_, fit, target, surface->pitch);
    else
        count = draw_changes(shown_.data(), pixels, colours_, fit, target, surface->pitch, parts, MAX_PARTS);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    std::memcpy(shown_.data(), pixels, shown_.size());
    shown_valid_ = fit.scale_x >= 1;
    if (whole) {
        SDL_UpdateWindowSurface(window_);
        bars_due_ = false;
    } else {
        send_to_screen(parts, count);
    }
}

// Sends the changed parts of the picture from the window's pixels to the screen.
void SdlPlatform::send_to_screen(const FieldRect* parts, int count) {
    SDL_Rect rects[8];
    count = std::min(count, static_cast<int>(std::size(rects)));
    for (int i = 0; i < count; ++i) {
        const FieldRect r = scaled_rect(events_.fit, parts[i]);
        rects[i] = SDL_Rect{r.x, r.y, r.w, r.h};
    }
    if (count > 0) SDL_UpdateWindowSurfaceRects(window_, rects, count);
}

// Through the renderer: the palette into the texture, then one scaled copy into the window.
void SdlPlatform::present_with_renderer(const uint8_t* pixels) {
    std::string error;
    if (texture_lost_ && !create_texture(error)) return;
    void* memory = nullptr;
    int pitch = 0;
    // A failed lock gives no memory to write to: this frame is skipped.
    if (texture_ == nullptr || SDL_LockTexture(texture_, nullptr, &memory, &pitch) != 0 || memory == nullptr) return;
    draw_scaled(pixels, colours_, PictureFit{1, 1, 0, 0}, static_cast<uint8_t*>(memory), pitch);
    SDL_UnlockTexture(texture_);
    int out_w = 0, out_h = 0;
    if (SDL_GetRendererOutputSize(renderer_, &out_w, &out_h) == 0) events_.fit = fit_picture(out_w, out_h);
    const PictureFit& fit = events_.fit;
    const SDL_Rect picture{fit.x, fit.y, fit.width(), fit.height()};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);  // the bars round a letterboxed picture
    SDL_RenderCopy(renderer_, texture_, nullptr, &picture);
    SDL_RenderPresent(renderer_);
}

void SdlPlatform::release_display() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (pixel_format_ != nullptr) SDL_FreeFormat(pixel_format_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    surface_ = nullptr;
    shown_valid_ = false;
    pixel_format_ = nullptr;
    x11_socket_ = -1;
}

void SdlPlatform::message_box(const std::string& caption, const std::string& text) {
    // Without a display the box cannot be shown; the caller has written the text to stderr.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}

}  // namespace qvar
