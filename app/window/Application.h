#pragma once

#include <exception>
#include <functional>
#include <string>

// The program's message boxes: its own notices and the default handler of every failure.
namespace Application {

// The program's title, which captions its message boxes.
inline constexpr const char* Title = "Quillmark";

// The text the default handler shows: the message, with a full stop added when its last
// character sorts above ".".
std::string ExceptionText(const std::string& message);

// A plain modal box with the text and OK.
void ShowMessage(const std::string& text);

// A modal box with a warning icon, the text and OK: the work was done, but not as well as asked.
void ShowWarning(const std::string& text);

// The default handler: a modal box with an error icon, the exception's text and OK, its control
// characters escaped as file names are; a list's refusal shows each of its lines so escaped on a
// line of its own.
void HandleException(const std::exception& error);

// Runs an event handler; whatever it throws goes to the default handler, and the program
// carries on with the next event.
template <typename Handler> void Guarded(Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        HandleException(error);
    }
}

enum class TMessageKind { Notice, Warning, Error };

// Shows the boxes instead of Qt when set (tests).
inline std::function<void(TMessageKind kind, const std::string& text)> MessageHook;

} // namespace Application
