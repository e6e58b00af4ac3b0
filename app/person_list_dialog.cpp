#include "app/person_list_dialog.h"

#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/message_presenter.h"
#include "app/person_details.h"
#include "app/person_list_host.h"
#include "app/person_list_model.h"

namespace toravel {
namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// The summary row of a calculation's inputs.
PersonSummary SummaryOf(const Person& person) {
    PersonSummary summary{person.name, person.date, person.time, person.place};
    if (summary.place.empty() && person.latitude && person.longitude)
        summary.place = CoordinateText(*person.latitude) + "; " + CoordinateText(*person.longitude);
    return summary;
}

} // namespace

PersonListDialog::PersonListDialog(PersonFile& file, PersonListHost& host, QWidget* parent)
    : QDialog(parent), file_(file), host_(host), model_(new PersonListModel(file, this)) {
    setObjectName(QStringLiteral("PersonListDialog"));
    setWindowTitle(QStringLiteral("Картотека"));
    setSizeGripEnabled(true);
    CreateControls();
    if (const std::optional<Person> last = host_.LastCalculation())
        model_->SetLastCalculation(SummaryOf(*last));
    RunHandler([this] { model_->SetFilter(QString()); });
    SelectRow(model_->rowCount() > 0 ? 0 : -1);
    SearchEdit->setFocus();
}

PersonListDialog::~PersonListDialog() {
    // The view goes before its model's signals could reach the handlers.
    for (QObject* control : findChildren<QObject*>())
        control->disconnect(this);
}

void PersonListDialog::CreateControls() {
    auto* search = new QLabel(QStringLiteral("&Поиск по имени:"), this);
    SearchEdit = new QLineEdit(this);
    SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    SearchEdit->setClearButtonEnabled(true);
    SearchEdit->setPlaceholderText(QStringLiteral("часть имени"));
    search->setBuddy(SearchEdit);
    SearchEdit->installEventFilter(this);

    List = new QTreeView(this);
    List->setObjectName(QStringLiteral("List"));
    List->setModel(model_);
    List->setRootIsDecorated(false);
    List->setItemsExpandable(false);
    List->setUniformRowHeights(true); // ten thousand rows laid out at once
    List->setAllColumnsShowFocus(true);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->header()->setStretchLastSection(true);
    List->header()->setSectionsMovable(false);
    const QFontMetrics metrics(List->font());
    List->setColumnWidth(PersonListModel::NameColumn,
                         metrics.horizontalAdvance(QLatin1Char('m')) * 24);
    List->setColumnWidth(PersonListModel::DateColumn,
                         metrics.horizontalAdvance(QStringLiteral("Дата рождения")) + 24);
    List->setColumnWidth(PersonListModel::TimeColumn,
                         metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 24);

    Details = new QLabel(this);
    Details->setObjectName(QStringLiteral("Details"));
    Details->setTextFormat(Qt::PlainText);
    Details->setWordWrap(true);
    Details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Details->setMinimumHeight(2 * Details->fontMetrics().height());

    auto* note = new QLabel(QStringLiteral("За&метка:"), this);
    NoteEdit = new QPlainTextEdit(this);
    NoteEdit->setObjectName(QStringLiteral("NoteEdit"));
    NoteEdit->setTabChangesFocus(true);
    NoteEdit->setMaximumHeight(5 * NoteEdit->fontMetrics().height());
    note->setBuddy(NoteEdit);
    SaveNoteButton = MakeButton(this, "SaveNoteButton", QStringLiteral("Сохранить за&метку"));

    OpenButton = MakeButton(this, "OpenButton", QStringLiteral("&Открыть"));
    OpenButton->setToolTip(QStringLiteral("Подставить данные в главное окно и выполнить расчет "
                                          "(Enter)"));
    SaveButton = MakeButton(this, "SaveButton", QStringLiteral("&Сохранить…"));
    SaveButton->setToolTip(QStringLiteral("Сохранить данные главного окна под именем (Ctrl+S)"));
    DeleteButton = MakeButton(this, "DeleteButton", QStringLiteral("&Удалить…"));
    DeleteButton->setToolTip(QStringLiteral("Удалить человека из картотеки (Delete)"));
    CloseButton = MakeButton(this, "CloseButton", QStringLiteral("Закрыть"));

    FileLabel = new QLabel(this);
    FileLabel->setObjectName(QStringLiteral("FileLabel"));
    FileLabel->setTextFormat(Qt::PlainText);
    FileLabel->setWordWrap(true);
    // The file where the user finds it, the home folder as "~".
    QString path = QString::fromStdString(file_.Path().string());
    const QString home = QDir::homePath();
    if (home != QDir::rootPath() && path.startsWith(home + QLatin1Char('/')))
        path = QLatin1Char('~') + path.mid(home.size());
    QString where = QStringLiteral("Файл картотеки: ") + QDir::toNativeSeparators(path);
    if (file_.ReadOnly())
        where += QStringLiteral(" — открыт только для чтения, изменения невозможны");
    FileLabel->setText(where);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(search);
    searchRow->addWidget(SearchEdit, 1);
    auto* noteRow = new QHBoxLayout;
    noteRow->addWidget(NoteEdit, 1);
    noteRow->addWidget(SaveNoteButton, 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OpenButton);
    buttons->addWidget(SaveButton);
    buttons->addWidget(DeleteButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(List, 1);
    layout->addWidget(Details);
    layout->addWidget(note);
    layout->addLayout(noteRow);
    layout->addLayout(buttons);
    layout->addWidget(FileLabel);

    setMinimumSize(520, 400);
    resize(760, 540);

    QWidget::setTabOrder(SearchEdit, List);
    QWidget::setTabOrder(List, NoteEdit);
    QWidget::setTabOrder(NoteEdit, SaveNoteButton);
    QWidget::setTabOrder(SaveNoteButton, OpenButton);
    QWidget::setTabOrder(OpenButton, SaveButton);
    QWidget::setTabOrder(SaveButton, DeleteButton);
    QWidget::setTabOrder(DeleteButton, CloseButton);

    connect(SearchEdit, &QLineEdit::textChanged, this, [this] { SearchTextChanged(); });
    connect(SearchEdit, &QLineEdit::returnPressed, this, [this] { OpenSelected(); });
    connect(List, &QAbstractItemView::activated, this, [this] { OpenSelected(); });
    // The selection, not the current row: a mouse press moves the current
    // row before it selects, and the details, the note and every command go
    // by the selection.
    connect(List->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { SelectionChanged(); });
    connect(NoteEdit, &QPlainTextEdit::modificationChanged, this, [this] { UpdateButtons(); });
    connect(SaveNoteButton, &QPushButton::clicked, this, [this] { SaveNote(); });
    connect(OpenButton, &QPushButton::clicked, this, [this] { OpenSelected(); });
    connect(SaveButton, &QPushButton::clicked, this, [this] { SaveInputs(); });
    connect(DeleteButton, &QPushButton::clicked, this, [this] { DeleteSelected(); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, [this] { SaveInputs(); });
    auto* remove = new QShortcut(QKeySequence::Delete, List);
    remove->setContext(Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, [this] { DeleteSelected(); });
}

// ---------------------------------------------------------------- the list

void PersonListDialog::SearchTextChanged() {
    RunHandler([this] {
        if (!KeepNote())
            return;
        const std::string selected = model_->NameAt(SelectedRow());
        model_->SetFilter(SearchEdit->text());
        // The first match is where Enter opens; a person still shown stays
        // selected.
        const int row = model_->RowOfName(selected);
        SelectRow(row >= 0 ? row : (model_->rowCount() > 0 ? 0 : -1));
    });
}

void PersonListDialog::SelectRow(int row) {
    if (row < 0 || row >= model_->rowCount()) {
        List->selectionModel()->clear();
        SelectionChanged();
        return;
    }
    const QModelIndex index = model_->index(row, 0);
    List->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    List->scrollTo(index);
    SelectionChanged();
}

int PersonListDialog::SelectedRow() const {
    const QModelIndexList rows = List->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void PersonListDialog::SelectName(const std::string& name) {
    SelectRow(model_->RowOfName(name));
}

void PersonListDialog::SelectionChanged() {
    RunHandler([this] {
        const std::string name = model_->NameAt(SelectedRow());
        if (name != noteOwner_ && !KeepNote()) {
            // The note could not be saved: its person stays selected, so the
            // text typed is not lost.
            const QSignalBlocker quiet(List->selectionModel());
            const int row = model_->RowOfName(noteOwner_);
            if (row >= 0) {
                List->selectionModel()->setCurrentIndex(model_->index(row, 0),
                                                        QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
            }
            return;
        }
        ShowDetails();
    });
}

void PersonListDialog::ShowDetails() {
    const int row = SelectedRow();
    const std::string name = model_->NameAt(row);
    std::optional<Person> person;
    if (model_->IsLastCalculation(row))
        person = host_.LastCalculation();
    else if (!name.empty())
        person = file_.Find(name);

    Details->setText(person ? Utf8(PersonDetailsText(*person)) : QString());
    {
        const QSignalBlocker quiet(NoteEdit);
        noteOwner_ = person && !model_->IsLastCalculation(row) ? name : std::string();
        NoteEdit->setPlainText(noteOwner_.empty() ? QString() : Utf8(person->note));
        NoteEdit->document()->setModified(false);
    }
    UpdateButtons();
}

void PersonListDialog::UpdateButtons() {
    const int row = SelectedRow();
    const bool person = !model_->NameAt(row).empty();
    const bool writable = !file_.ReadOnly();
    OpenButton->setEnabled(row >= 0);
    SaveButton->setEnabled(writable);
    DeleteButton->setEnabled(writable && person);
    NoteEdit->setEnabled(person);
    NoteEdit->setReadOnly(!writable);
    SaveNoteButton->setEnabled(writable && person && NoteEdit->document()->isModified());
}

bool PersonListDialog::eventFilter(QObject* watched, QEvent* event) {
    // From the search field the arrow keys go on into the list, at the
    // row selected there (the first match).
    if (watched == SearchEdit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Down || key->key() == Qt::Key_PageDown) &&
            model_->rowCount() > 0) {
            List->setFocus();
            if (SelectedRow() < 0)
                SelectRow(0);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PersonListDialog::done(int result) {
    // Closing keeps a note typed and not yet saved; should that fail, the
    // list stays open with it.
    bool kept = true;
    RunHandler([this, &kept] { kept = KeepNote(); });
    if (kept)
        QDialog::done(result);
}

// ---------------------------------------------------------------- commands

void PersonListDialog::OpenSelected() {
    RunHandler([this] {
        int row = SelectedRow();
        if (row < 0 && model_->rowCount() > 0)
            row = 0;
        if (row < 0)
            return;
        std::optional<Person> person;
        if (model_->IsLastCalculation(row)) {
            person = host_.LastCalculation();
        } else {
            const std::string name = model_->NameAt(row);
            person = file_.Find(name);
            if (!person) {
                Presenter().ShowMessage(
                    QStringLiteral("«%1» больше нет в картотеке: запись удалили в другой копии "
                                   "программы.")
                        .arg(Utf8(name)));
                model_->Refresh();
                return;
            }
        }
        if (!person)
            return;
        chosen_ = std::move(person);
        accept();
        if (result() != QDialog::Accepted)
            chosen_.reset(); // a note that could not be saved kept the list open
    });
}

void PersonListDialog::SaveInputs() {
    RunHandler([this] {
        if (file_.ReadOnly()) {
            Presenter().ShowMessage(
                QStringLiteral("Картотека открыта только для чтения: сохранить нельзя."));
            return;
        }
        // The inputs first: no name is asked for what cannot be saved.
        PersonOfInputsResult made = host_.InputsAsPerson({});
        if (!made.person) {
            Presenter().ShowMessage(QStringLiteral("Данные главного окна не сохранены: ") +
                                    Utf8(made.problem));
            return;
        }
        if (!SettleZoneDisagreement())
            return;
        made = host_.InputsAsPerson({});
        if (!made.person)
            return;
        const std::optional<QString> typed =
            Presenter().AskText(QStringLiteral("Под каким именем сохранить данные главного окна?"),
                                Utf8(host_.InputsPersonName()));
        if (!typed)
            return;
        Person person = std::move(*made.person);
        person.name = typed->trimmed().toStdString();
        if (const std::string fault = PersonFault(person); !fault.empty()) {
            Presenter().ShowMessage(QStringLiteral("Не сохранено: ") + Utf8(fault));
            return;
        }
        if (!KeepNote())
            return;
        // A calculation of these very inputs this session is the person's.
        if (const std::optional<Person> last = host_.LastCalculation();
            last && SameCalculationInputs(*last, person)) {
            person.lastResult = last->lastResult;
        }

        SaveOutcome outcome = file_.Save(person, OnConflict::Skip);
        if (outcome == SaveOutcome::Exists) {
            const std::optional<Person> saved = file_.Find(person.name);
            const QString savedName = Utf8(saved ? saved->name : person.name);
            if (!Presenter().Ask(QStringLiteral("В картотеке уже есть «%1». Заменить сохранённые "
                                                "данные данными главного окна? Заметка останется.")
                                     .arg(savedName))) {
                return;
            }
            if (saved)
                person.note = saved->note;
            outcome = file_.Save(person, OnConflict::Replace);
        }
        host_.InputsSavedAs(person);
        // The person saved is shown, whatever was searched for.
        if (!model_->Filter().isEmpty()) {
            const QSignalBlocker quiet(SearchEdit);
            SearchEdit->clear();
        }
        model_->SetFilter(QString());
        SelectName(person.name);
        if (model_->RowOfName(person.name) < 0) {
            // Another spelling of the same name (case) was replaced.
            if (const std::optional<Person> saved = file_.Find(person.name))
                SelectName(saved->name);
        }
    });
}

// The clock a person keeps is the offset box's hours on this computer; where
// the birthplace's zone says otherwise (a value left from another place),
// the user decides before anything is saved.
bool PersonListDialog::SettleZoneDisagreement() {
    const std::optional<PersonListHost::ZoneDisagreement> disagreement =
        host_.InputsZoneDisagreement();
    if (!disagreement)
        return true;
    QStringList choices = {QStringLiteral("Сохранить как есть")};
    if (disagreement->hintValue)
        choices << QStringLiteral("Подставить %1").arg(*disagreement->hintValue);
    choices << QStringLiteral("Отмена");
    const int chosen = Presenter().Choose(
        QStringLiteral("Разница в часах в главном окне расходится с часовым поясом места "
                       "рождения: %1 (%2).")
            .arg(Utf8(disagreement->warning), Utf8(disagreement->hint)),
        choices);
    if (chosen == 0)
        return true;
    if (disagreement->hintValue && chosen == 1) {
        host_.SubstituteHintValue();
        return true;
    }
    return false;
}

void PersonListDialog::DeleteSelected() {
    RunHandler([this] {
        const std::string name = model_->NameAt(SelectedRow());
        if (name.empty() || file_.ReadOnly())
            return;
        if (!Presenter().Ask(
                QStringLiteral("Удалить «%1» из картотеки? Это нельзя отменить.").arg(Utf8(name))))
            return;
        const int row = SelectedRow();
        {
            // The note of a person being removed is not saved.
            const QSignalBlocker quiet(NoteEdit);
            NoteEdit->document()->setModified(false);
            noteOwner_.clear();
        }
        file_.Remove(name);
        host_.PersonRemoved(name);
        model_->Refresh();
        SelectRow(std::min(row, model_->rowCount() - 1));
    });
}

void PersonListDialog::SaveNote() {
    RunHandler([this] { KeepNote(); });
}

bool PersonListDialog::KeepNote() {
    if (noteOwner_.empty() || !NoteEdit->document()->isModified() || file_.ReadOnly())
        return true;
    try {
        std::optional<Person> person = file_.Find(noteOwner_);
        if (!person) {
            Presenter().ShowMessage(
                QStringLiteral("Заметка не сохранена: «%1» больше нет в картотеке.")
                    .arg(Utf8(noteOwner_)));
            noteOwner_.clear();
            return true;
        }
        person->note = NoteEdit->toPlainText().toStdString();
        if (const std::string fault = PersonFault(*person); !fault.empty()) {
            Presenter().ShowMessage(QStringLiteral("Заметка не сохранена: ") + Utf8(fault));
            return false;
        }
        file_.Update(noteOwner_, *person);
    } catch (const PersonFileError&) {
        ShowCurrentException();
        return false;
    }
    NoteEdit->document()->setModified(false);
    UpdateButtons();
    return true;
}

} // namespace toravel
