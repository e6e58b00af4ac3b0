// The person file: the people a user saved, in an SQLite database of the
// user's own (people.sqlite in the application's data folder for the
// window; --people-file for the command line). The caller always names the
// file; nothing here picks a folder.
//
//     PersonFile file(path);                       // throws PersonFileError
//     for (const PersonSummary& s : file.List("ан")) show(s.name);
//     if (file.Save(person, OnConflict::Skip) == SaveOutcome::Exists && userAgrees())
//         file.Save(person, OnConflict::Replace);
//     std::optional<Person> p = file.Find("Анна");
//     file.RecordResult("Анна", result);
//     file.Remove("Анна");
//
// Never losing an entry: every change is one transaction that is on the disk
// when the call returns (WAL journal, synchronous FULL), so a crash or a
// killed process loses nothing that a call reported saved; two running
// copies of the program may save at the same time (each waits up to
// BusyTimeoutMs for the other). A file that is not ours, damaged, or written
// by a newer version is refused on opening with a Russian message and is
// never written, truncated or repaired: SetAsidePersonFile (set_aside.h)
// moves it away when the user asks for that. The opening check is SQLite's
// integrity_check: a damaged page of the table or of an index is refused
// before anything is written.
//
// A file the process may not change (the file or its folder not writable,
// a read-only file system, no room for SQLite's -shm file) opens for
// reading: ReadOnly() is true, every change throws, and nothing is made
// beside the file (no -wal or -shm that would later stand in a writer's way).
// The path is always a path: a name beginning with "file:" is no SQLite URI.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "people/person.h"

struct sqlite3;

namespace toravel {

enum class PersonFileProblem {
    NotOurs,       // not a person file (another program's, or no database)
    Damaged,       // a person file whose database is damaged
    Newer,         // written by a newer version of the program
    ReadOnly,      // a change to a file that may only be read
    DiskFull,      // no room left for a change
    Busy,          // another copy held the file longer than BusyTimeoutMs
    InvalidPerson, // a person with a fault (PersonFault), or no such person
    Unavailable,   // cannot be opened, created, read or written otherwise
};

class PersonFileError : public std::runtime_error {
public:
    PersonFileError(PersonFileProblem problem, const std::string& message)
        : std::runtime_error(message), problem_(problem) {}
    PersonFileProblem Problem() const { return problem_; }
    // Whether the user should be offered to set the file aside and start a
    // new one (NotOurs, Damaged).
    bool CanSetAside() const {
        return problem_ == PersonFileProblem::NotOurs || problem_ == PersonFileProblem::Damaged;
    }

private:
    PersonFileProblem problem_;
};

enum class OnConflict {
    Skip,    // keep the saved person
    Replace, // replace the saved person
    Ask,     // ask the caller (import); Save treats it as Skip
};

enum class SaveOutcome {
    Added,
    Replaced,
    Exists,  // another person has that name; nothing changed
    Missing, // Update: no person of the old name; nothing changed
};

// One line of the list.
struct PersonSummary {
    std::string name;
    std::string date;
    std::string time;
    std::string place;
};

inline constexpr int PersonFileVersion = 1; // PRAGMA user_version of new files
inline constexpr int BusyTimeoutMs = 10'000;

class PersonFile {
public:
    // Opens the file, creating it and its folder when missing, and brings an
    // older version's file up to this one. Throws PersonFileError.
    explicit PersonFile(const std::filesystem::path& path);
    // A file in memory that disappears with the object (trials, fuzzing).
    static PersonFile InMemory();

    PersonFile(PersonFile&&) noexcept;
    PersonFile& operator=(PersonFile&&) noexcept;
    ~PersonFile();

    const std::filesystem::path& Path() const { return path_; }
    bool ReadOnly() const { return readOnly_; }

    std::size_t Count() const;

    // The people whose names contain the filter ignoring case, ё read as е
    // (all for an empty filter), sorted by name.
    std::vector<PersonSummary> List(std::string_view nameFilter = {}) const;

    // The person of that name, ignoring case.
    std::optional<Person> Find(std::string_view name) const;

    // Every person, sorted by name, one at a time (export).
    template <typename Visit> void ForEach(Visit visit) const;

    // Saves the person under its name. A replaced person keeps its creation
    // moment, and its last result when the person brings none and the
    // calculation inputs are unchanged. Throws PersonFileError
    // (InvalidPerson with PersonFault's text for a person with a fault).
    SaveOutcome Save(const Person& person, OnConflict onConflict);

    // Replaces the person saved as savedName with `person`, whose name may
    // differ (a rename): Missing when there is none, Exists when the new
    // name is another person's.
    SaveOutcome Update(std::string_view savedName, const Person& person);

    // False when there is no person of that name.
    bool Remove(std::string_view name);

    // Keeps the result of a calculation for the person; false when there is
    // no person of that name.
    bool RecordResult(std::string_view name, const LastResult& result);

    // Several changes as one: nothing of them is kept unless Commit is
    // called. Save, Update, Remove and RecordResult join an open transaction.
    class Transaction {
    public:
        explicit Transaction(PersonFile& file);
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        ~Transaction(); // rolls back unless committed
        void Commit();

    private:
        PersonFile& file_;
        bool open_ = true;
    };

private:
    PersonFile() = default;
    friend class Transaction;

    // Opens the existing file for reading only, leaving nothing beside it;
    // `reason` says why, when it is not the file's or its folder's
    // permissions.
    void OpenReadOnly(const std::string& reason = {});
    void Configure();
    void BringUpToDate();
    [[noreturn]] void Fail(int code, std::string_view action) const;
    void Execute(const char* sql, std::string_view action);
    std::optional<std::int64_t> IdOfKey(const std::string& key) const;
    std::optional<Person> PersonOfId(std::int64_t id) const;
    void Write(const Person& person, const std::optional<std::int64_t>& id);
    void CheckWritable() const;
    void ForEachPerson(void (*visit)(void*, const Person&), void* context) const;

    // Runs change inside the open transaction, or in one of its own.
    template <typename Change> auto InTransaction(Change change);

    std::filesystem::path path_;
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> db_{nullptr, nullptr};
    bool readOnly_ = false;
    std::string readOnlyReason_;
    bool inTransaction_ = false;
};

template <typename Visit> void PersonFile::ForEach(Visit visit) const {
    ForEachPerson([](void* context, const Person& p) { (*static_cast<Visit*>(context))(p); },
                  &visit);
}

} // namespace toravel
