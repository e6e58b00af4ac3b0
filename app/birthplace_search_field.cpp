#include "app/birthplace_search_field.h"

#include <algorithm>
#include <string>

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QStandardItemModel>

#include "app/message_presenter.h"

namespace toravel {
namespace {

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The popup is wider than the field: a place's line with its region and
// country seldom fits in the field's 177 pixels.
constexpr int kPopupWidth = 360;
// A typed text longer than any place name finds nothing; no need to hold it.
constexpr int kLongestText = 200;
constexpr int kPlaceRole = Qt::UserRole + 1;

} // namespace

BirthplaceSearchField::BirthplaceSearchField(QWidget* parent)
    : QLineEdit(parent), source_(&SharedWorldAtlas), completer_(new QCompleter(this)),
      model_(new QStandardItemModel(this)) {
    setMaxLength(kLongestText);
    setClearButtonEnabled(true);
    completer_->setModel(model_);
    // The atlas has chosen and ordered the matches; the popup shows them all.
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setMaxVisibleItems(static_cast<int>(kMostMatches));
    // Bound to the field but not set as its completer: the field would
    // otherwise redo the popup after each keystroke at its own width and
    // write the highlighted line into itself.
    completer_->setWidget(this);
    // Installed after the completer's own filter, so it sees the keys first.
    completer_->popup()->installEventFilter(this);

    connect(this, &QLineEdit::textEdited, this,
            [this](const QString& text) { RunHandler([&] { Search(text); }); });
    connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                RunHandler([&] {
                    const QVariant row = index.data(kPlaceRole);
                    if (!row.isValid())
                        return;
                    const auto at = static_cast<std::size_t>(row.toULongLong());
                    if (at < matches_.size())
                        Pick(*matches_[at]);
                });
            });
    connect(this, &QLineEdit::returnPressed, this,
            [this] { RunHandler([this] { PickFirstMatch(); }); });
}

bool BirthplaceSearchField::eventFilter(QObject* watched, QEvent* event) {
    QAbstractItemView* popup = completer_->popup();
    if (watched != popup || event->type() != QEvent::KeyPress)
        return QLineEdit::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Down && key != Qt::Key_Up)
        return false;
    const int rows = popup->model()->rowCount();
    if (rows == 0)
        return false;
    const int row = popup->currentIndex().row();
    const int next =
        key == Qt::Key_Down ? (row < 0 ? 0 : std::min(row + 1, rows - 1)) : std::max(row - 1, 0);
    popup->setCurrentIndex(popup->model()->index(next, 0));
    return true;
}

void BirthplaceSearchField::Search(const QString& text) {
    // The popup is a window of its own: it takes the field's font here, so
    // that it speaks as the rest of the window does.
    completer_->popup()->setFont(font());
    pickedLabel_.clear();
    matches_.clear();
    model_->clear();
    if (text.trimmed().isEmpty()) {
        completer_->popup()->hide();
        return;
    }
    const AtlasLoad& load = source_();
    if (load.atlas == nullptr) {
        completer_->popup()->hide();
        hide();
        emit atlasUnavailable(Utf8(load.problem));
        return;
    }
    matches_ = load.atlas->Search(text.toStdString(), kMostMatches);
    for (std::size_t i = 0; i < matches_.size(); ++i) {
        auto* item = new QStandardItem(Utf8(PlaceLabel(*matches_[i])));
        item->setData(QVariant::fromValue(static_cast<qulonglong>(i)), kPlaceRole);
        item->setEditable(false);
        model_->appendRow(item);
    }
    if (matches_.empty()) {
        completer_->popup()->hide();
        return;
    }
    completer_->setCompletionPrefix(text);
    completer_->complete(QRect(0, 0, std::max(width(), kPopupWidth), height()));
}

void BirthplaceSearchField::Pick(const AtlasPlace& place) {
    pickedLabel_ = Utf8(PlaceLabel(place));
    completer_->popup()->hide();
    setText(pickedLabel_);
    emit placePicked(place);
}

void BirthplaceSearchField::ShowPlace(const QString& label) {
    completer_->popup()->hide();
    matches_.clear();
    model_->clear();
    pickedLabel_ = label;
    setText(label);
}

// Enter in the field itself: the first match, unless the place in the field
// was just picked (the popup's Enter reaches the field too).
void BirthplaceSearchField::PickFirstMatch() {
    if (!pickedLabel_.isEmpty() && text() == pickedLabel_)
        return;
    if (!matches_.empty())
        Pick(*matches_.front());
}

} // namespace toravel
