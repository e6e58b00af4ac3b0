// Every message box of the application goes through one presenter: the
// messages of the commands ("нет данных о широте", ...) and the standard
// error display that shows an error leaving a handler. Tests put a recording
// presenter in its place instead of clicking modal boxes.
//
// An exception never crosses Qt's event loop: each handler runs through
// RunHandler, which catches whatever leaves it and shows it here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QString>
#include <QStringList>

#include "platform/error_display_text.h"

namespace toravel {

// The application's title: the caption of every message box.
inline constexpr std::string_view ApplicationTitle = "Торавель";

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // A modal box with the text, one OK button and the title as caption;
    // returns once the user has closed it.
    virtual void ShowMessage(const QString& text) = 0;
    // The same with an error icon: the standard error display.
    virtual void ShowError(const QString& text) = 0;
    // A question with the buttons "Да" and "Нет"; true for "Да". A presenter
    // that does not answer questions says "Нет", which changes nothing.
    virtual bool Ask(const QString& question);
    // A question with one button per choice, in order; the index of the one
    // pressed. The last choice is the one that changes nothing (Esc, closing
    // the box), which a presenter that does not answer questions gives.
    virtual int Choose(const QString& question, const QStringList& choices);
    // A line of text asked for under `label`, `proposed` standing in the
    // field; nothing when cancelled (the default).
    virtual std::optional<QString> AskText(const QString& label, const QString& proposed);
};

// The presenter in use: message boxes unless a test replaced it.
MessagePresenter& Presenter();
// nullptr puts the message boxes back. The presenter must outlive its use.
void SetPresenter(MessagePresenter* presenter);

// Shows an error's message (UTF-8) through the standard error display, as
// ErrorDisplayText makes it.
void ShowErrorDisplay(std::string_view message) noexcept;

// Inside a catch block: shows the exception being handled, its what() text,
// or an empty message for an exception that carries none.
void ShowCurrentException() noexcept;

// Runs one event handler to its end; whatever it throws is shown by the
// standard error display and goes no further.
template <typename Handler> void RunHandler(Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        ShowCurrentException();
    }
}

} // namespace toravel
