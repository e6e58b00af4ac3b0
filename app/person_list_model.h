// The rows of the person list: the session's last calculation, when there is
// one and no name is searched for, then the people of the person file whose
// names contain the searched text, sorted by name. Columns: name, birth
// date, time, place. Each search asks the file again, so the list shows
// what another running copy of the program saved meanwhile.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QString>

#include "people/person_file.h"

namespace toravel {

class PersonListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn, DateColumn, TimeColumn, PlaceColumn, ColumnCount };

    // The file must outlive the model.
    PersonListModel(const PersonFile& file, QObject* parent = nullptr);

    // The row of the last calculation; nothing removes it.
    void SetLastCalculation(std::optional<PersonSummary> summary);
    // Reads the people whose names contain the text again. Throws
    // PersonFileError; the rows are then left as they were.
    void SetFilter(const QString& text);
    void Refresh() { SetFilter(filter_); }
    const QString& Filter() const { return filter_; }

    bool IsLastCalculation(int row) const { return ShowsLastCalculation() && row == 0; }
    // The person's name on the row; empty for the last calculation's row
    // and for rows that do not exist.
    std::string NameAt(int row) const;
    // The row of the person of that name (exactly as saved), or -1.
    int RowOfName(const std::string& name) const;
    std::size_t PeopleShown() const { return people_.size(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    bool ShowsLastCalculation() const { return lastCalculation_.has_value() && filter_.isEmpty(); }
    int FirstPersonRow() const { return ShowsLastCalculation() ? 1 : 0; }

    const PersonFile& file_;
    QString filter_;
    std::vector<PersonSummary> people_;
    std::optional<PersonSummary> lastCalculation_;
};

} // namespace toravel
