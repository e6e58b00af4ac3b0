// The birthplace search field: a line edit whose completion popup lists the
// world atlas's places as the user types ("Кинешма — Ивановская область,
// Россия"), most fitting first. Arrows move through the popup and Enter
// picks the highlighted place; Enter without a highlighted line picks the
// first one. The field only finds and tells: the window writes the picked
// place's coordinates into its fields.
//
// The atlas is asked for on the first keystroke, so a window that is never
// searched never loads it. When there is none, the field says so once and
// hides itself.
#pragma once

#include <functional>
#include <vector>

#include <QLineEdit>

#include "atlas/geonames_atlas.h"

class QCompleter;
class QStandardItemModel;

namespace toravel {

class BirthplaceSearchField final : public QLineEdit {
    Q_OBJECT

public:
    // Gives the atlas, loading it on the first call (SharedWorldAtlas).
    using AtlasSource = std::function<const AtlasLoad&()>;

    explicit BirthplaceSearchField(QWidget* parent);

    void SetAtlasSource(AtlasSource source) { source_ = std::move(source); }

    // Shows the name of the place the window's fields hold (a person's
    // place opened), or nothing once they hold another: no search, no pick.
    void ShowPlace(const QString& label);

    QCompleter* Completer() const { return completer_; }
    // The places the popup lists now, in its order.
    const std::vector<const AtlasPlace*>& Matches() const { return matches_; }

    // The most places the popup lists.
    static constexpr std::size_t kMostMatches = 20;

signals:
    void placePicked(const toravel::AtlasPlace& place);
    // There is no atlas: `problem` says why ("атлас мест недоступен: …").
    void atlasUnavailable(const QString& problem);

protected:
    // The popup's Up and Down: one line at a time, from the first line when
    // none is highlighted, stopping at either end.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Search(const QString& text);
    void Pick(const AtlasPlace& place);
    void PickFirstMatch();

    AtlasSource source_;
    QCompleter* completer_;
    QStandardItemModel* model_;
    std::vector<const AtlasPlace*> matches_;
    // The popup line of the place picked last, while the field shows it.
    QString pickedLabel_;
};

} // namespace toravel
