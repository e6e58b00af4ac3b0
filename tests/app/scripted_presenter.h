// A presenter that records every box and answers the questions from a
// script, and a watch that closes a modal window nobody expected, so that a
// test fails instead of hanging.
#pragma once

#include <algorithm>
#include <functional>
#include <optional>

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "app/message_presenter.h"

namespace toravel::testing {

class ScriptedPresenter final : public MessagePresenter {
public:
    ScriptedPresenter() { SetPresenter(this); }
    ~ScriptedPresenter() override { SetPresenter(nullptr); }
    ScriptedPresenter(const ScriptedPresenter&) = delete;
    ScriptedPresenter& operator=(const ScriptedPresenter&) = delete;

    void ShowMessage(const QString& text) override { messages << text; }
    void ShowError(const QString& text) override { errors << text; }
    bool Ask(const QString& question) override {
        questions << question;
        return !answers.isEmpty() && answers.takeFirst();
    }
    int Choose(const QString& question, const QStringList& offered) override {
        questions << question;
        choiceLists << offered;
        const int last = static_cast<int>(offered.size()) - 1;
        return choices.isEmpty() ? last : std::min(choices.takeFirst(), last);
    }
    std::optional<QString> AskText(const QString& label, const QString& proposed) override {
        textLabels << label;
        proposals << proposed;
        if (texts.isEmpty())
            return std::nullopt;
        const QString text = texts.takeFirst();
        if (text.isNull())
            return std::nullopt; // a null text in the script: cancelled
        return text;
    }

    QStringList messages;
    QStringList errors;
    QStringList questions;
    QStringList textLabels;
    QStringList proposals;
    QList<bool> answers;            // to the questions, in turn; none left: "Нет"
    QList<int> choices;             // to Choose, the index pressed; none left: the last
    QList<QStringList> choiceLists; // the choices offered, in turn
    QStringList texts;              // typed for AskText, in turn; none left: cancelled
};

// While it lives, hands each modal window that comes up to `handle` (by
// default: records it and closes it).
class ModalWatch {
public:
    using Handler = std::function<void(QWidget* modal)>;
    explicit ModalWatch(Handler handle = {}) : handle_(std::move(handle)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr)
                last_ = nullptr;
            if (modal == nullptr || modal == last_)
                return;
            last_ = modal;
            ++seen;
            if (handle_) {
                handle_(modal);
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            } else {
                modal->close();
            }
        });
        timer_.start(20);
    }
    int seen = 0;

private:
    Handler handle_;
    QTimer timer_;
    QWidget* last_ = nullptr;
};

// Types any text, Cyrillic included (QTest::keyClicks takes Latin-1 only),
// one key press per character, as a keyboard layout would send it.
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        const Qt::Key key = c == QLatin1Char('\n') ? Qt::Key_Return : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, widget, key,
                            c == QLatin1Char('\n') ? QString() : QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key,
                            c == QLatin1Char('\n') ? QString() : QString(c), Qt::NoModifier);
    }
}

} // namespace toravel::testing
