// The page's side of the web backend, written in JavaScript and called from C++.
#include "platform/web_browser.h"

#include <emscripten.h>

// clang-format off
EM_JS(int, qvar_js_open_canvas, (), {
    const canvas = document.getElementById('screen');
    const context = canvas ? canvas.getContext('2d', {alpha: false}) : null;
    if (!context) return 0;
    Module.qvarCanvas = canvas;
    Module.qvarContext = context;
    Module.qvarImage = null;
    return 1;
});

// The ImageData looks straight at the wasm memory, so putImageData is the frame's one copy;
// it is made again only when the memory has grown (its old buffer is then detached).
EM_JS(void, qvar_js_show_frame, (const void* rgba, double frame), {
    let image = Module.qvarImage;
    if (!image || image.data.buffer !== HEAPU8.buffer || image.qvarAddress !== rgba) {
        image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, 320 * 200 * 4), 320, 200);
        image.qvarAddress = rgba;
        Module.qvarImage = image;
    }
    Module.qvarContext.putImageData(image, 0, 0);
    if (Module.onQvarFrame) Module.onQvarFrame(frame);
});

// Everything happens inside the callback: after the wait, Asyncify calls this function again
// to resume, and handleSleep then only returns.
EM_JS(void, qvar_js_sleep, (double ms), {
    Asyncify.handleSleep(function(wakeUp) {
        let done = false;
        let timer = 0;
        const finish = function() {
            if (done) return;
            done = true;
            clearTimeout(timer);
            if (Module.qvarWake === finish) Module.qvarWake = null;
            wakeUp();
        };
        timer = setTimeout(finish, ms);
        Module.qvarWake = finish;
    });
});

// Called from an event handler: the game resumes once the handler has returned.
EM_JS(void, qvar_js_wake, (), {
    const finish = Module.qvarWake;
    if (finish) Promise.resolve().then(finish);
});

EM_JS(void, qvar_js_message_box, (const char* caption, const char* text), {
    const c = UTF8ToString(caption);
    const t = UTF8ToString(text);
    Asyncify.handleSleep(function(wakeUp) {
        if (Module.qvarMessageBox) {
            Module.qvarMessageBox(c, t, function() { setTimeout(wakeUp, 0); });
        } else {
            alert(c + '\n\n' + t);
            setTimeout(wakeUp, 0);
        }
    });
});

EM_JS(uint32_t, qvar_js_field_point, (double client_x, double client_y), {
    const rect = Module.qvarCanvas.getBoundingClientRect();
    const x = rect.width > 0 ? Math.floor((client_x - rect.left) * 320 / rect.width) : 0;
    const y = rect.height > 0 ? Math.floor((client_y - rect.top) * 200 / rect.height) : 0;
    const outside = x < 0 || x > 319 || y < 0 || y > 199;
    const clamp = function(v, top) { return v < 0 ? 0 : (v > top ? top : v); };
    return ((outside ? 0x80000000 : 0) | (clamp(x, 319) << 16) | clamp(y, 199)) >>> 0;
});

EM_JS(int, qvar_js_mount_persistent, (const char* folder), {
    const path = UTF8ToString(folder);
    return Asyncify.handleSleep(function(wakeUp) {
        if (typeof indexedDB === 'undefined') { wakeUp(0); return; }
        try {
            FS.mkdirTree(path);
            FS.mount(IDBFS, {}, path);
        } catch (e) {
            console.warn('qvar: cannot mount the browser storage: ' + e);
            wakeUp(0);
            return;
        }
        FS.syncfs(true, function(error) {
            if (error) console.warn('qvar: cannot load the saved files: ' + error);
            Module.qvarPersistent = path;
            Module.qvarSyncs = 0;
            wakeUp(error ? 0 : 1);
        });
    });
});

EM_JS(void, qvar_js_sync_persistent, (), {
    if (!Module.qvarPersistent) return;
    if (Module.qvarSyncing) { Module.qvarSyncAgain = true; return; }
    Module.qvarSyncing = true;
    const done = function(error) {
        if (error) console.warn('qvar: cannot store the saved files: ' + error);
        if (Module.qvarSyncAgain) {
            Module.qvarSyncAgain = false;
            FS.syncfs(false, done);
            return;
        }
        Module.qvarSyncing = false;
        Module.qvarSyncs += 1;
    };
    FS.syncfs(false, done);
});

EM_JS(void, qvar_js_program_ended, (int status), {
    if (Module.onQvarEnded) Module.onQvarEnded(status);
});
// clang-format on

namespace qvar::web {

bool open_canvas() { return qvar_js_open_canvas() != 0; }
void show_frame(const uint32_t* rgba, uint64_t frame) { qvar_js_show_frame(rgba, static_cast<double>(frame)); }
void sleep_ms(double ms) { qvar_js_sleep(ms); }
void wake() { qvar_js_wake(); }
double now_ms() { return emscripten_get_now(); }
void message_box(const char* caption, const char* text) { qvar_js_message_box(caption, text); }
uint32_t field_point(double client_x, double client_y) { return qvar_js_field_point(client_x, client_y); }
bool mount_persistent(const char* folder) { return qvar_js_mount_persistent(folder) != 0; }
void sync_persistent() { qvar_js_sync_persistent(); }
void program_ended(int status) { qvar_js_program_ended(status); }

}  // namespace qvar::web
