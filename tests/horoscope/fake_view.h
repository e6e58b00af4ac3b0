// A window for the calculation command that records everything done to it,
// in order, and answers with the inputs a test sets.
#pragma once

#include <string>
#include <vector>

#include "horoscope/horoscope_view.h"

namespace toravel::testing {

struct ViewEvent {
    enum Kind { Clear, Line, FormattedLine, Message, PicturesEnabled } kind;
    std::string text;
    CharacterFormat format{};

    friend bool operator==(const ViewEvent&, const ViewEvent&) = default;
};

class FakeView : public HoroscopeView {
public:
    std::string latitude = "55,45";
    std::string longitude = "37,37";
    bool listing = false;
    std::string lunarDay;
    std::string zoneHours = "0";
    TDateTime birthDate = 0.0;
    TDateTime birthTime = 0.0;

    std::vector<ViewEvent> events;

    std::string LatitudeText() const override { return latitude; }
    std::string LongitudeText() const override { return longitude; }
    bool ListingWanted() const override { return listing; }
    std::string LunarDayFieldText() const override { return lunarDay; }
    std::string ZoneHoursText() const override { return zoneHours; }
    TDateTime BirthDate() const override { return birthDate; }
    TDateTime BirthTime() const override { return birthTime; }

    void AppendLine(const std::string& line) override {
        events.push_back({ViewEvent::Line, line, {}});
    }
    void ClearReport() override { events.push_back({ViewEvent::Clear, {}, {}}); }
    void AppendFormattedLine(const CharacterFormat& format, const std::string& line) override {
        events.push_back({ViewEvent::FormattedLine, line, format});
    }
    void ShowMessage(const std::string& text) override {
        events.push_back({ViewEvent::Message, text, {}});
    }
    void EnablePictureButtons() override { events.push_back({ViewEvent::PicturesEnabled, {}, {}}); }

    // The texts of the events of one kind, in order.
    std::vector<std::string> Texts(ViewEvent::Kind kind) const {
        std::vector<std::string> texts;
        for (const ViewEvent& event : events) {
            if (event.kind == kind)
                texts.push_back(event.text);
        }
        return texts;
    }

    // What the report area shows: the lines since it was last emptied.
    std::vector<std::string> ReportArea() const {
        std::vector<std::string> lines;
        for (const ViewEvent& event : events) {
            if (event.kind == ViewEvent::Clear)
                lines.clear();
            if (event.kind == ViewEvent::Line || event.kind == ViewEvent::FormattedLine) {
                lines.push_back(event.text);
            }
        }
        return lines;
    }
};

} // namespace toravel::testing
