#include "csv/csv_reader.h"

#include "platform/utf8_text.h"

namespace toravel {
namespace {

constexpr std::size_t BufferBytes = 64u << 10;
constexpr int End = -1;

} // namespace

CsvReader::CsvReader(std::istream& in, CsvLimits limits)
    : in_(in), limits_(limits), buffer_(BufferBytes) {}

void CsvReader::Fill() {
    if (keeping_) {
        kept_.append(buffer_.data() + keptFrom_, size_ - keptFrom_);
        keptFrom_ = 0;
    }
    position_ = 0;
    size_ = 0;
    if (!in_)
        return;
    buffer_.resize(BufferBytes);
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    size_ = static_cast<std::size_t>(in_.gcount());
}

int CsvReader::Peek() {
    if (position_ == size_)
        Fill();
    return position_ < size_ ? static_cast<unsigned char>(buffer_[position_]) : End;
}

int CsvReader::Get() {
    const int c = Peek();
    if (c != End)
        ++position_;
    return c;
}

void CsvReader::Fail(CsvRecord& record, std::string message) {
    if (record.error.empty())
        record.error = std::move(message);
}

void CsvReader::EndField(CsvRecord& record) {
    if (!dropping_ && record.fields.size() == limits_.maxFields) {
        Fail(record, "больше " + std::to_string(limits_.maxFields) + " полей в записи");
        dropping_ = true;
    }
    if (!dropping_) {
        if (!IsValidUtf8(field_))
            Fail(record,
                 "поле " + std::to_string(record.fields.size() + 1) + " не в кодировке UTF-8");
        record.fields.push_back(std::move(field_));
    }
    field_.clear();
}

void CsvReader::CutBack(CsvRecord& record, std::string message) {
    std::string again = std::move(kept_);
    again.append(buffer_.data() + keptFrom_, size_ - keptFrom_);
    buffer_.assign(again.begin(), again.end());
    position_ = 0;
    size_ = buffer_.size();
    keeping_ = false;
    kept_.clear();
    record.error = std::move(message);
    record.fields.clear();
    record.endLine = record.line;
    line_ = record.line + 1;
}

bool CsvReader::Next(CsvRecord& record) {
    record.fields.clear();
    record.error.clear();
    if (stopped_)
        return false;
    if (atStart_) {
        atStart_ = false;
        // A byte order mark, as spreadsheet programs write it.
        if (Peek() == 0xEF) {
            static constexpr unsigned char Bom[] = {0xEF, 0xBB, 0xBF};
            std::size_t matched = 0;
            while (matched < 3 && position_ + matched < size_ &&
                   static_cast<unsigned char>(buffer_[position_ + matched]) == Bom[matched])
                ++matched;
            if (matched == 3)
                position_ += 3;
        }
    }
    // Empty lines are no records.
    for (;;) {
        const int c = Peek();
        if (c == '\n') {
            Get();
            ++line_;
        } else if (c == '\r') {
            Get();
            if (Peek() == '\n')
                Get();
            ++line_;
        } else {
            break;
        }
    }
    if (Peek() == End)
        return false;

    record.line = line_;
    dropping_ = false;
    recordBytes_ = 0;
    field_.clear();
    keeping_ = false;
    kept_.clear();

    enum class State { FieldStart, Unquoted, Quoted, AfterQuoted };
    State state = State::FieldStart;
    std::uint64_t quoteLine = 0;
    std::uint64_t spanningQuoteLine = 0; // of the quote open at the first line break
    const auto openQuote = [&] {
        return "кавычка, открытая в строке " +
               std::to_string(keeping_ ? spanningQuoteLine : quoteLine);
    };
    for (;;) {
        const int c = Get();
        if (c == End) {
            if (state == State::Quoted) {
                if (keeping_) {
                    CutBack(record, openQuote() + ", не закрыта до конца файла");
                    return true;
                }
                Fail(record, openQuote() + ", не закрыта до конца файла");
            }
            EndField(record);
            record.endLine = line_;
            break;
        }
        if (++recordBytes_ > limits_.maxRecordBytes) {
            if (keeping_) {
                CutBack(record, openQuote() + ", не закрыта и через " +
                                    std::to_string(limits_.maxRecordBytes) + " байт");
                return true;
            }
            if (!dropping_) {
                Fail(record, "запись длиннее " + std::to_string(limits_.maxRecordBytes) + " байт");
                dropping_ = true;
                record.fields.clear();
                field_.clear();
                field_.shrink_to_fit();
            }
            if (recordBytes_ - limits_.maxRecordBytes > limits_.maxSkippedBytes) {
                record.error = "строка " + std::to_string(record.line) + " длиннее " +
                               std::to_string(limits_.maxRecordBytes + limits_.maxSkippedBytes) +
                               " байт: дальше файл не читается";
                record.endLine = line_;
                stopped_ = true;
                return true;
            }
        }
        if (c == 0) {
            Fail(record, "нулевой байт (NUL) в строке " + std::to_string(line_));
            continue;
        }
        if (c == '\n' || c == '\r') {
            const bool crlf = c == '\r' && Peek() == '\n';
            if (crlf)
                Get();
            if (state != State::Quoted) {
                EndField(record);
                record.endLine = line_++;
                break;
            }
            ++line_;
            if (!record.error.empty()) {
                // Already faulty on its first line: the record ends with it,
                // and the next line is read as a record of its own.
                if (keeping_) {
                    CutBack(record,
                            openQuote() + ", не закрыта в этой строке (" + record.error + ")");
                    return true;
                }
                record.endLine = record.line;
                record.fields.clear();
                break;
            }
            if (!keeping_) {
                keeping_ = true;
                keptFrom_ = position_;
                spanningQuoteLine = quoteLine;
            }
            if (!dropping_)
                field_ += crlf ? "\r\n" : c == '\r' ? "\r" : "\n";
            continue;
        }
        switch (state) {
        case State::FieldStart:
            if (c == '"') {
                state = State::Quoted;
                quoteLine = line_;
                break;
            }
            state = State::Unquoted;
            [[fallthrough]];
        case State::Unquoted:
            if (c == ',') {
                EndField(record);
                state = State::FieldStart;
            } else {
                if (c == '"')
                    Fail(record,
                         "кавычка внутри поля без кавычек в строке " + std::to_string(line_));
                if (!dropping_)
                    field_ += static_cast<char>(c);
            }
            break;
        case State::Quoted:
            if (c == '"') {
                if (Peek() == '"') {
                    Get();
                    if (!dropping_)
                        field_ += '"';
                } else {
                    state = State::AfterQuoted;
                }
            } else if (!dropping_) {
                field_ += static_cast<char>(c);
            }
            break;
        case State::AfterQuoted:
            if (c == ',') {
                EndField(record);
                state = State::FieldStart;
            } else {
                Fail(record, "текст после закрывающей кавычки в строке " + std::to_string(line_));
                if (!dropping_)
                    field_ += static_cast<char>(c);
            }
            break;
        }
    }
    if (keeping_) {
        // A record of several lines that does not hold together.
        if (record.error.empty() && expectedFields_ != 0 && record.fields.size() != expectedFields_)
            record.error = "полей в записи " + std::to_string(record.fields.size()) +
                           ", а в заголовке " + std::to_string(expectedFields_);
        if (!record.error.empty()) {
            CutBack(record, openQuote() + ", не закрыта в этой строке (" + record.error + ")");
            return true;
        }
        keeping_ = false;
        kept_.clear();
    }
    return true;
}

} // namespace toravel
