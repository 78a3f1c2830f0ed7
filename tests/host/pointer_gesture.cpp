#include "tests/host/pointer_gesture.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>

namespace {

#ifdef _WIN32
constexpr const char* kWineXdotool = "Z:/usr/bin/xdotool";
#endif

std::string commandLine(const std::string& arguments) {
#ifdef _WIN32
    // Wine's start runs a Unix program when asked to; it returns at once, /wait or not.
    return "start /wait /unix /usr/bin/xdotool " + arguments + " >NUL 2>&1";
#else
    return "xdotool " + arguments + " >/dev/null 2>&1";
#endif
}

}  // namespace

PointerGesture::PointerGesture(const std::string& arguments)
    : runner([this, command = commandLine(arguments)] {
          std::system(command.c_str());
          done = true;
      }) {}

PointerGesture::~PointerGesture() {
    runner.join();
}

bool PointerGesture::available() {
#ifdef _WIN32
    // Wine's start reports no exit status of a Unix program; drive Z: is the Unix root.
    return std::ifstream(kWineXdotool).good();
#else
    return std::system(commandLine("version").c_str()) == 0;
#endif
}

std::string PointerGesture::findWindow(const std::string& title) {
    return "search --sync --onlyvisible --name " + title + " ";
}

bool PointerGesture::run(const std::string& arguments) {
    return std::system(commandLine(arguments).c_str()) == 0;
}

bool PointerGesture::runAt(void* window, int x, int y, const std::string& actions) {
    const auto id = reinterpret_cast<std::uintptr_t>(window);
    return run("mousemove --sync --window " + std::to_string(id) + " " + std::to_string(x) + " " +
               std::to_string(y) + " " + actions);
}
