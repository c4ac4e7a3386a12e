// The SDL2 backend's display: the 320x200 frame through the palette, at the largest whole
// factor that fits the window (square pixels) or at 4:3, with black bars; and the message box.
#include <algorithm>
#include <cstring>

#include "platform/sdl_backend.h"

namespace qvar {

namespace {

constexpr int FIELD_W = 320;
constexpr int FIELD_H = 200;

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

SdlPlatform::SdlPlatform(const SdlOptions& options) : options_(options) {
    events_.bound = bind_keys(options.keys);
    events_.place.four_three = options.four_three;
}

SdlPlatform::~SdlPlatform() {
    release_display();
    pads_.stop();
    if (video_started_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
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
    pads_.start(options_.controller_mappings);
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
    fit_picture_to(out_w, out_h);
    if (options_.fullscreen) scale_ = std::max(1, events_.place.fit.scale_x);
    return true;
}

// Where the picture goes in a window of this many pixels; the 4:3 taps are worked out only
// when the size changes.
void SdlPlatform::fit_picture_to(int width, int height) {
    PicturePlace& place = events_.place;
    if (place.four_three && (place.plan.width == 0 || width != place.target_w || height != place.target_h))
        place.plan = plan_four_three(width, height);
    place.target_w = width;
    place.target_h = height;
    place.fit = fit_picture(width, height);
}

void SdlPlatform::set_palette_entry(uint8_t index, Rgb colour) {
    const Rgb was = palette_[index];
    if (was.r != colour.r || was.g != colour.g || was.b != colour.b) shown_valid_ = false;
    palette_[index] = colour;
    colours_[index] = pixel_format_ != nullptr ? SDL_MapRGB(pixel_format_, colour.r, colour.g, colour.b) : 0;
}

void SdlPlatform::present(const uint8_t* pixels) {
    events_.keys_tapped = 0;
    pad_frame_shown(pad_);
    std::memcpy(last_frame_.data(), pixels, last_frame_.size());
    last_palette_ = palette_;
    presented_ = window_ != nullptr;
    draw_picture(pixels);
}

// Draws a frame into the window, unless it is minimised or hidden: then no time goes into
// drawing, and the next frame shown is drawn whole.
void SdlPlatform::draw_picture(const uint8_t* pixels) {
    if (window_ == nullptr) return;
    if (hidden_ || (SDL_GetWindowFlags(window_) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0) {
        shown_valid_ = false;
        return;
    }
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
        fit_picture_to(surface->w, surface->h);
        bars_due_ = true;
    }
    if (events_.place.four_three) {
        present_four_three_into(surface, pixels);
        return;
    }
    constexpr int MAX_PARTS = 8;
    FieldRect parts[MAX_PARTS];
    int count = 0;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    const PictureFit& fit = events_.place.fit;
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
        const FieldRect r = scaled_rect(events_.place.fit, parts[i]);
        rects[i] = SDL_Rect{r.x, r.y, r.w, r.h};
    }
    if (count > 0) SDL_UpdateWindowSurfaceRects(window_, rects, count);
}

// At 4:3 straight into the window's pixels: the field rows from the first to the last that
// changed since the frame shown (all of them after a palette change or a new size) are
// scaled and sent to the screen.
void SdlPlatform::present_four_three_into(SDL_Surface* surface, const uint8_t* pixels) {
    FourThreePlan& plan = events_.place.plan;
    const bool whole = !shown_valid_ || bars_due_;
    int first = 0, last = FIELD_H - 1;
    if (!whole) {
        while (first < FIELD_H && std::memcmp(shown_.data() + first * FIELD_W, pixels + first * FIELD_W, FIELD_W) == 0) ++first;
        while (last > first && std::memcmp(shown_.data() + last * FIELD_W, pixels + last * FIELD_W, FIELD_W) == 0) --last;
        if (first == FIELD_H) return;  // nothing changed
    }
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    auto* target = static_cast<uint8_t*>(surface->pixels);
    if (bars_due_) fill_four_three_bars(target, surface->pitch, surface->w, surface->h, plan, SDL_MapRGB(surface->format, 0, 0, 0));
    draw_four_three(pixels, colours_, plan, target, surface->pitch, first, last);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    std::memcpy(shown_.data(), pixels, shown_.size());
    shown_valid_ = plan.width > 0;
    if (whole) {
        SDL_UpdateWindowSurface(window_);
        bars_due_ = false;
        return;
    }
    int top = 0, bottom = -1;
    four_three_target_rows(plan, first, last, top, bottom);
    const SDL_Rect band{plan.x, plan.y + top, plan.width, bottom - top + 1};
    if (bottom >= top) SDL_UpdateWindowSurfaceRects(window_, &band, 1);
}

// 4:3 through the renderer: the frame enlarged by whole factors (nearest neighbour) into a
// texture, which is drawn down to the 4:3 target with linear filtering. False when the
// renderer cannot draw into a texture.
bool SdlPlatform::enlarge_for_four_three() {
    const FourThreePlan& plan = events_.place.plan;
    const int w = FIELD_W * plan.up_x, h = FIELD_H * plan.up_y;
    int have_w = 0, have_h = 0;
    if (enlarged_ != nullptr && SDL_QueryTexture(enlarged_, nullptr, nullptr, &have_w, &have_h) == 0 &&
        (have_w != w || have_h != h)) {
        SDL_DestroyTexture(enlarged_);
        enlarged_ = nullptr;
    }
    if (enlarged_ == nullptr && SDL_RenderTargetSupported(renderer_) == SDL_TRUE) {
        enlarged_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, w, h);
        if (enlarged_ != nullptr) SDL_SetTextureScaleMode(enlarged_, SDL_ScaleModeLinear);
    }
    if (enlarged_ == nullptr || SDL_SetRenderTarget(renderer_, enlarged_) != 0) return false;
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_SetRenderTarget(renderer_, nullptr);
    return true;
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
    if (SDL_GetRendererOutputSize(renderer_, &out_w, &out_h) == 0) fit_picture_to(out_w, out_h);
    const PicturePlace& place = events_.place;
    const bool enlarged = place.four_three && enlarge_for_four_three();
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);  // the bars round a letterboxed picture
    if (place.four_three) {
        const SDL_Rect picture{place.plan.x, place.plan.y, place.plan.width, place.plan.height};
        SDL_RenderCopy(renderer_, enlarged ? enlarged_ : texture_, nullptr, &picture);
    } else {
        const SDL_Rect picture{place.fit.x, place.fit.y, place.fit.width(), place.fit.height()};
        SDL_RenderCopy(renderer_, texture_, nullptr, &picture);
    }
    SDL_RenderPresent(renderer_);
}

void SdlPlatform::release_display() {
    remember_windowed();  // the settings keep the window as it was
    if (enlarged_ != nullptr) SDL_DestroyTexture(enlarged_);
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (pixel_format_ != nullptr) SDL_FreeFormat(pixel_format_);
    enlarged_ = nullptr;
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
