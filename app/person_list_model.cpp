#include "app/person_list_model.h"

#include <QFont>

namespace toravel {
namespace {

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

PersonListModel::PersonListModel(const PersonFile& file, QObject* parent)
    : QAbstractTableModel(parent), file_(file) {}

void PersonListModel::SetLastCalculation(std::optional<PersonSummary> summary) {
    beginResetModel();
    lastCalculation_ = std::move(summary);
    endResetModel();
}

void PersonListModel::SetFilter(const QString& text) {
    // Blanks around the text say nothing about a name.
    const QString filter = text.trimmed();
    std::vector<PersonSummary> people = file_.List(filter.toStdString());
    beginResetModel();
    filter_ = filter;
    people_ = std::move(people);
    endResetModel();
}

std::string PersonListModel::NameAt(int row) const {
    const int index = row - FirstPersonRow();
    if (row < 0 || index < 0 || index >= static_cast<int>(people_.size()))
        return {};
    return people_[static_cast<std::size_t>(index)].name;
}

int PersonListModel::RowOfName(const std::string& name) const {
    for (std::size_t i = 0; i < people_.size(); ++i) {
        if (people_[i].name == name)
            return static_cast<int>(i) + FirstPersonRow();
    }
    return -1;
}

int PersonListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return static_cast<int>(people_.size()) + FirstPersonRow();
}

int PersonListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PersonListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const bool last = IsLastCalculation(index.row());
    if (role == Qt::FontRole && last) {
        QFont font;
        font.setItalic(true);
        return font;
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const PersonSummary& row =
        last ? *lastCalculation_
             : people_[static_cast<std::size_t>(index.row() - FirstPersonRow())];
    switch (index.column()) {
    case NameColumn:
        if (!last)
            return Utf8(row.name);
        return row.name.empty() ? QStringLiteral("последний расчёт")
                                : QStringLiteral("последний расчёт (%1)").arg(Utf8(row.name));
    case DateColumn:
        return Utf8(row.date);
    case TimeColumn:
        return Utf8(row.time);
    case PlaceColumn:
        return Utf8(row.place);
    default:
        return {};
    }
}

QVariant PersonListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return QStringLiteral("Имя");
    case DateColumn:
        return QStringLiteral("Дата рождения");
    case TimeColumn:
        return QStringLiteral("Время");
    case PlaceColumn:
        return QStringLiteral("Место рождения");
    default:
        return {};
    }
}

} // namespace toravel
