// The people kept in this browser: an IndexedDB store of records keyed by
// the name's key (name-key.js), so that "Анна" and "АННА" are one person.
// Each record holds the CSV columns (people-csv.js) as texts in their usual
// forms, which is all a file carries between the page and the desktop.
import { comparePeople, nameKey, nameSortKey } from './name-key.js';
import { Columns } from './people-csv.js';

const DatabaseName = 'toravel';
const StoreName = 'people';

function request(r) {
    return new Promise((resolve, reject) => {
        r.onsuccess = () => resolve(r.result);
        r.onerror = () => reject(r.error);
    });
}

function done(transaction) {
    return new Promise((resolve, reject) => {
        transaction.oncomplete = () => resolve();
        transaction.onabort = () => reject(transaction.error ?? new Error('запись прервана'));
        transaction.onerror = () => reject(transaction.error);
    });
}

function record(person) {
    const kept = { key: nameKey(person.name) };
    for (const column of Columns)
        kept[column] = person[column] ?? '';
    return kept;
}

export class PeopleStore {
    static async open() {
        if (!globalThis.indexedDB)
            throw new Error('этот браузер не даёт хранить данные (IndexedDB недоступна)');
        const opening = indexedDB.open(DatabaseName, 1);
        opening.onupgradeneeded = () => opening.result.createObjectStore(StoreName, { keyPath: 'key' });
        return new PeopleStore(await request(opening));
    }

    constructor(db) {
        this.db = db;
    }

    // Everyone, sorted as the desktop sorts them; with a filter, those whose
    // name contains it, case folded and ё read as е.
    async list(filter = '') {
        const transaction = this.db.transaction(StoreName, 'readonly');
        const people = await request(transaction.objectStore(StoreName).getAll());
        const wanted = nameSortKey(filter);
        return people.filter((p) => !wanted || nameSortKey(p.name).includes(wanted)).sort(comparePeople);
    }

    async get(name) {
        const transaction = this.db.transaction(StoreName, 'readonly');
        return (await request(transaction.objectStore(StoreName).get(nameKey(name)))) ?? null;
    }

    // Saves a person; returns 'added', 'replaced', or 'exists' when one of
    // that name is there and replace is false.
    async save(person, { replace }) {
        const transaction = this.db.transaction(StoreName, 'readwrite');
        const store = transaction.objectStore(StoreName);
        const kept = record(person);
        const before = await request(store.get(kept.key));
        if (before && !replace) {
            transaction.abort();
            await done(transaction).catch(() => {});
            return 'exists';
        }
        store.put(kept);
        await done(transaction);
        return before ? 'replaced' : 'added';
    }

    // Adds the people of an import in one transaction, keeping those
    // already saved; returns the names skipped.
    async addAll(people) {
        const transaction = this.db.transaction(StoreName, 'readwrite');
        const store = transaction.objectStore(StoreName);
        const outcome = [];
        for (const person of people) {
            const kept = record(person);
            // Two lines of one name within the file: the first is taken.
            const before = await request(store.get(kept.key));
            if (before) {
                outcome.push(false);
            } else {
                store.add(kept);
                outcome.push(true);
            }
        }
        await done(transaction);
        return outcome;
    }

    async remove(name) {
        const transaction = this.db.transaction(StoreName, 'readwrite');
        transaction.objectStore(StoreName).delete(nameKey(name));
        await done(transaction);
    }
}
