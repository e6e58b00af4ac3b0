#include "app/message_presenter.h"

#include <cstdlib>
#include <exception>
#include <iostream>

#include <QMessageBox>
#include <QTimer>

namespace toravel {
namespace {

// Set only by the start-up test that runs the real program without its data
// files: each box is still shown modally (its own event loop runs, as with a
// user), acknowledged as soon as that loop turns, and its text written to
// standard error for the test to read. Nothing in production sets it.
bool AcknowledgeForTest() {
    static const bool acknowledge = std::getenv("TORAVEL_TEST_ACKNOWLEDGE_MESSAGES") != nullptr;
    return acknowledge;
}

class MessageBoxPresenter final : public MessagePresenter {
public:
    void ShowMessage(const QString& text) override { Show(QMessageBox::NoIcon, "message", text); }
    void ShowError(const QString& text) override { Show(QMessageBox::Critical, "error", text); }

private:
    static void Show(QMessageBox::Icon icon, const char* kind, const QString& text) {
        // No parent: the box is centred on the screen and modal for the
        // whole application.
        QMessageBox box(icon,
                        QString::fromUtf8(ApplicationTitle.data(),
                                          static_cast<qsizetype>(ApplicationTitle.size())),
                        text, QMessageBox::Ok);
        if (AcknowledgeForTest()) {
            std::cerr << kind << ": " << text.toStdString() << std::endl;
            QTimer::singleShot(0, &box, &QMessageBox::accept);
        }
        box.exec();
    }
};

MessageBoxPresenter boxPresenter;
MessagePresenter* currentPresenter = &boxPresenter;

} // namespace

MessagePresenter& Presenter() {
    return *currentPresenter;
}

void SetPresenter(MessagePresenter* presenter) {
    currentPresenter = presenter != nullptr ? presenter : &boxPresenter;
}

void ShowErrorDisplay(std::string_view message) noexcept {
    try {
        const std::string text = ErrorDisplayText(message);
        Presenter().ShowError(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    } catch (...) {
        // Nothing is left to show an error with (out of memory while
        // composing the box); the handler still ends quietly.
    }
}

void ShowCurrentException() noexcept {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowErrorDisplay(error.what());
    } catch (...) {
        ShowErrorDisplay("");
    }
}

} // namespace toravel
