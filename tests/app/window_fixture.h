// What the window tests share: a presenter that records every message box
// instead of showing it, a scoped working directory, the paragraphs of the
// report area with their formats, and the two windows after start-up.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextEdit>
#include <QVector>

#include <string>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/city_combo_box.h"
#include "app/link_label.h"
#include "app/message_presenter.h"
#include "app/termination.h"
#include "lunar/working_stream.h"

namespace toravel::testing {

class RecordingPresenter final : public MessagePresenter {
public:
    RecordingPresenter() { SetPresenter(this); }
    ~RecordingPresenter() override { SetPresenter(nullptr); }
    RecordingPresenter(const RecordingPresenter&) = delete;
    RecordingPresenter& operator=(const RecordingPresenter&) = delete;

    void ShowMessage(const QString& text) override { messages << text; }
    void ShowError(const QString& text) override { errors << text; }

    QStringList messages;
    QStringList errors;
};

// Makes `directory` the working directory until the end of the scope.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const QString& directory) : previous_(QDir::currentPath()) {
        QDir::setCurrent(directory);
    }
    ~WorkingDirectory() { QDir::setCurrent(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    QString previous_;
};

// The build tree's root, where the build puts db/ (atlas.ini and bd.mdb).
inline QString BuildRoot() {
    return QStringLiteral(TORAVEL_BUILD_ROOT);
}

struct Paragraph {
    QString text;
    QTextCharFormat format; // of the paragraph's text (its mark when empty)
};

inline QVector<Paragraph> ParagraphsOf(const QTextEdit& edit) {
    QVector<Paragraph> paragraphs;
    const QTextDocument* document = edit.document();
    if (document->isEmpty())
        return paragraphs;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QTextCharFormat format = block.charFormat();
        if (block.begin() != block.end())
            format = block.begin().fragment().charFormat();
        paragraphs.push_back({block.text(), format});
    }
    return paragraphs;
}

inline QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Picks the city whose line in the list begins with `name;`, as a user does
// in the list (the fields and the hint follow); false when there is none.
inline bool PickCity(TForm1& window, const QString& name) {
    for (int i = 0; i < window.ComboBox1->count(); ++i) {
        if (window.ComboBox1->itemText(i).startsWith(name + QLatin1Char(';'))) {
            window.ComboBox1->setCurrentIndex(i);
            window.ComboBox1CloseUp();
            return true;
        }
    }
    return false;
}

// Both windows as start-up leaves them, started in `directory`.
struct StartedWindows {
    explicit StartedWindows(const QString& directory = BuildRoot()) {
        ResetTerminationRequest();
        SetLunarWorkingStream(&DiscardingStream()); // as the program does
        const WorkingDirectory inDirectory(directory);
        mainWindow.FormCreate();
        mainWindow.SetPictureWindow(&pictureWindow);
    }
    TForm1 mainWindow;
    TForm2 pictureWindow;
};

} // namespace toravel::testing
