#include "app/message_presenter.h"

#include <cstdlib>
#include <exception>
#include <iostream>

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
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

    bool Ask(const QString& question) override {
        QMessageBox box(QMessageBox::Question, Title(), question);
        QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
        box.setDefaultButton(no);
        box.setEscapeButton(no);
        if (AcknowledgeForTest()) {
            std::cerr << "question: " << question.toStdString() << std::endl;
            QTimer::singleShot(0, &box, [&box, no] { no->click(); });
        }
        box.exec();
        return box.clickedButton() == yes;
    }

    int Choose(const QString& question, const QStringList& choices) override {
        QMessageBox box(QMessageBox::Question, Title(), question);
        QList<QPushButton*> buttons;
        for (const QString& choice : choices)
            buttons << box.addButton(choice, QMessageBox::ActionRole);
        const int last = static_cast<int>(choices.size()) - 1;
        if (last < 0)
            return -1;
        box.setDefaultButton(buttons[last]);
        box.setEscapeButton(buttons[last]);
        if (AcknowledgeForTest()) {
            std::cerr << "question: " << question.toStdString() << std::endl;
            QTimer::singleShot(0, &box, [&buttons, last] { buttons[last]->click(); });
        }
        box.exec();
        const auto pressed = buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
        return pressed >= 0 ? static_cast<int>(pressed) : last;
    }

    std::optional<QString> AskText(const QString& label, const QString& proposed) override {
        QInputDialog dialog;
        dialog.setWindowTitle(Title());
        dialog.setLabelText(label);
        dialog.setTextValue(proposed);
        dialog.setOkButtonText(QStringLiteral("OK"));
        dialog.setCancelButtonText(QStringLiteral("Отмена"));
        if (AcknowledgeForTest()) {
            std::cerr << "text: " << label.toStdString() << std::endl;
            QTimer::singleShot(0, &dialog, &QInputDialog::reject);
        }
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.textValue();
    }

private:
    static QString Title() {
        return QString::fromUtf8(ApplicationTitle.data(),
                                 static_cast<qsizetype>(ApplicationTitle.size()));
    }

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

bool MessagePresenter::Ask(const QString&) {
    return false;
}

int MessagePresenter::Choose(const QString&, const QStringList& choices) {
    return static_cast<int>(choices.size()) - 1;
}

std::optional<QString> MessagePresenter::AskText(const QString&, const QString&) {
    return std::nullopt;
}

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
