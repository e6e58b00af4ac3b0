// «Картотека»: the people of the person file, searched by name as one types
// and sorted by name, with the session's last calculation at the top.
//
// «Открыть» (Enter, a double click) closes the list with the chosen person,
// whose inputs the main window then takes and calculates; «Сохранить…»
// (Ctrl+S) keeps the main window's inputs under a name it asks for, asking
// first when the offset box contradicts the birthplace's zone (keep,
// substitute or cancel) and before it replaces a saved person; «Удалить…»
// (Delete) asks first. The selected person's note can be edited below the
// list; it is saved with «Сохранить заметку», or on leaving the person or the
// list. The details, the note and every command concern the selected person.
// Questions and messages go through the presenter; no exception leaves a
// handler.
#pragma once

#include <optional>
#include <string>

#include <QDialog>

#include "people/person_file.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

namespace toravel {

class PersonListHost;
class PersonListModel;

class PersonListDialog final : public QDialog {
    Q_OBJECT

public:
    // The file and the host must outlive the dialog.
    PersonListDialog(PersonFile& file, PersonListHost& host, QWidget* parent = nullptr);
    ~PersonListDialog() override;

    // The person «Открыть» chose; nothing while the list is open or when it
    // was closed otherwise.
    const std::optional<Person>& ChosenPerson() const { return chosen_; }

    // Handlers.
    void SearchTextChanged();
    void OpenSelected();
    void SaveInputs();
    void DeleteSelected();
    void SaveNote();

    PersonListModel& Model() { return *model_; }
    // Selects the row (and shows its details); -1 selects nothing.
    void SelectRow(int row);
    int SelectedRow() const;

    QLineEdit* SearchEdit;
    QTreeView* List;
    QLabel* Details;
    QPlainTextEdit* NoteEdit;
    QPushButton* SaveNoteButton;
    QPushButton* OpenButton;
    QPushButton* SaveButton;
    QPushButton* DeleteButton;
    QPushButton* CloseButton;
    QLabel* FileLabel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void CreateControls();
    void SelectionChanged();
    void ShowDetails();
    void UpdateButtons();
    // Saves an edited note of the person it belongs to; false when that
    // failed (the message was shown) and the edit is kept.
    bool KeepNote();
    // Before saving: an offset the birthplace's zone contradicts is kept,
    // substituted or the saving cancelled, as the user chooses; false for
    // cancelled.
    bool SettleZoneDisagreement();
    void SelectName(const std::string& name);

    PersonFile& file_;
    PersonListHost& host_;
    PersonListModel* model_;
    std::optional<Person> chosen_;
    // The person whose note the note field holds; empty for none.
    std::string noteOwner_;
};

} // namespace toravel
