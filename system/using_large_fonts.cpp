// UsingLargeFonts: "1" when the screen's horizontal density is anything but
// 96 dots per inch, "0" at exactly 96.
#include "frame/buffer_export.h"
#include "frame/copy_out.h"
#include "platform/scoped.h"
#include "platform/win32.h"

VL_BUFFER_EXPORT(UsingLargeFonts, host) {
    const char* answer = "1";
    {
        HWND desktop = GetDesktopWindow();
        ScopedWindowDC screen(desktop);
        // No device context gives no density, so "1" stands.
        if (GetDeviceCaps(screen.get(), LOGPIXELSX) == 96)
            answer = "0";
    }
    copy_out(host, answer);
    return vl_result(host);
}
