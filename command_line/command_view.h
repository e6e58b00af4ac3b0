// The main window as the command-line front ends have it: the inputs come
// from the options, the report area is a list of lines, and message boxes
// are collected (and echoed to a stream, standard error, as they come up).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "horoscope/horoscope_view.h"

namespace toravel::command_line {

class CommandView : public HoroscopeView {
public:
    // messageStream: where message boxes are echoed; none when null.
    explicit CommandView(std::ostream* messageStream = nullptr) : messageStream_(messageStream) {}

    // Inputs, as typed into the window's fields.
    std::string latitude;
    std::string longitude;
    bool listing = false;
    std::string lunarDay;
    std::string zoneHours = "0";
    TDateTime birthDate = 0.0;
    TDateTime birthTime = 0.0;

    // Outputs.
    std::vector<std::string> area;              // every line of the report area
    std::vector<std::string> reportLines;       // the lines appended with a format
    std::vector<CharacterFormat> reportFormats; // their formats, in the same order
    std::vector<std::string> messages;          // message-box texts, in order
    bool picturesEnabled = false;

    // The lines of the area before the report: the check listings.
    std::vector<std::string> ListingLines() const;

    std::string LatitudeText() const override { return latitude; }
    std::string LongitudeText() const override { return longitude; }
    bool ListingWanted() const override { return listing; }
    std::string LunarDayFieldText() const override { return lunarDay; }
    std::string ZoneHoursText() const override { return zoneHours; }
    TDateTime BirthDate() const override { return birthDate; }
    TDateTime BirthTime() const override { return birthTime; }

    void AppendLine(const std::string& line) override;
    void ClearReport() override;
    void AppendFormattedLine(const CharacterFormat& format, const std::string& line) override;
    void ShowMessage(const std::string& text) override;
    void EnablePictureButtons() override { picturesEnabled = true; }

private:
    std::ostream* messageStream_;
};

} // namespace toravel::command_line
