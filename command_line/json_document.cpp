#include "command_line/json_document.h"

namespace toravel::command_line {
namespace {

const char* KindName(JsonKind kind) {
    switch (kind) {
    case JsonKind::Horoscope:
        return "horoscope";
    case JsonKind::Month:
        return "month";
    case JsonKind::Places:
        return "places";
    case JsonKind::People:
        return "people";
    }
    return "horoscope";
}

} // namespace

Json JsonDocument(JsonKind kind) {
    Json document;
    document["format"] = JsonFormat;
    document["kind"] = KindName(kind);
    return document;
}

Json FailureJson(JsonKind kind, const CommandError& error) {
    Json document = JsonDocument(kind);
    document["error"] = ErrorJson(error);
    return document;
}

Json ErrorJson(const CommandError& error) {
    return {{"code", error.code}, {"message", error.message}};
}

std::string JsonText(const Json& document, bool oneLine) {
    return document.dump(oneLine ? -1 : 2, ' ', false, Json::error_handler_t::replace) + "\n";
}

Json WorldJson(std::string_view letter) {
    struct World {
        std::string_view letter, code, name, description;
    };
    static constexpr World worlds[] = {
        {"b", "prav", "Правь", "Верхний мир"},
        {"c", "yav", "Явь", "Средний мир"},
        {"h", "nav", "Навь", "Нижний мир"},
    };
    for (const World& world : worlds) {
        if (world.letter == letter)
            return {{"code", world.code}, {"name", world.name}, {"description", world.description}};
    }
    return nullptr;
}

Json CircleJson(std::string_view reportWord) {
    if (reportWord.empty())
        return nullptr;
    struct Circle {
        std::string_view reportWord, name;
        int number;
    };
    static constexpr Circle circles[] = {
        {"Первому", "Первый круг", 1},
        {"Второму", "Второй круг", 2},
        {"Третьему", "Третий круг", 3},
    };
    for (const Circle& circle : circles) {
        if (circle.reportWord == reportWord)
            return {{"number", circle.number},
                    {"name", circle.name},
                    {"report_word", circle.reportWord}};
    }
    return {{"number", nullptr}, {"name", nullptr}, {"report_word", reportWord}};
}

std::string IsoMoment(TDateTime local, int offsetSeconds) {
    return IsoMomentText(ClockMoment{local, offsetSeconds});
}

} // namespace toravel::command_line
