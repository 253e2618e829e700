// A program started by an end-to-end test and driven from the test's process as a user would: its
// windows found with EnumWindows/EnumChildWindows, buttons pressed with BM_CLICK, texts read with
// WM_GETTEXT. Message boxes the program shows while the test waits are answered with their default
// button and remembered; other dialogs (a file dialog, say) are left to the test.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

class App {
  public:
    App() = default;
    ~App(); // a program still running is ended
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Starts "program" args in dir; false when it cannot be started.
    bool Start(const std::string& program, const std::string& args, const std::string& dir);
    // The program's first visible top-level window that is not a message box; nullptr after the timeout.
    HWND MainWindow(int timeoutMs = 20000);
    // A visible top-level window of the program, of any class, whose caption begins with the text;
    // nullptr after the timeout.
    HWND Window(const std::string& caption, int timeoutMs = 20000);
    // A control of the main window by window class ("Button", "Edit", ...) and text; nullptr if none.
    HWND Control(const std::string& windowClass, const std::string& text) {
        return Child(MainWindow(), windowClass, text);
    }
    std::vector<HWND> Controls(const std::string& windowClass) { return Children(MainWindow(), windowClass); }
    // The controls below a window of a window class, and the first of them with the text.
    static std::vector<HWND> Children(HWND parent, const std::string& windowClass);
    static HWND Child(HWND parent, const std::string& windowClass, const std::string& text);
    static std::string Text(HWND window);
    void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }
    // A screenshot of one of the program's windows, once the program has had time to paint it.
    static void Screenshot(HWND window, const std::string& name);

    // Waits until the condition holds, answering message boxes meanwhile; false after the timeout.
    bool WaitFor(const std::function<bool()>& condition, int timeoutMs);
    // Waits for the program to end, answering message boxes meanwhile.
    bool WaitForExit(int timeoutMs);
    bool Running() const;

    // The boxes answered so far: caption, a line break, then the box's text.
    std::vector<std::string> Boxes;

  private:
    void AnswerBoxes();
    std::vector<HWND> answered_;
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

} // namespace testsupport
