// Waits until the screen shows a colour at a point, then exits: the probe of tools/startup_race.sh.
// One pixel read a millisecond costs the X server next to nothing, where a screenshot tool would
// copy the whole screen at each look and slow the launch it is timing.
//   first_pixel <x> <y> <rrggbb> [seconds]   exit status 0 once seen, 1 on timeout or no display
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 4) {
        return 2;
    }
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    const unsigned long wanted = std::strtoul(argv[3], nullptr, 16);
    const double seconds = argc > 4 ? std::atof(argv[4]) : 30.0;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap)) {
            const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
            XDestroyImage(image);
            if (pixel == wanted) {
                return 0;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return 1;
}
