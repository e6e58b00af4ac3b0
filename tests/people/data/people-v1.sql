-- A person file of version 1, as the first version of the program wrote it
-- (the sort and name keys included). Kept unchanged: later versions must
-- open it and keep both people.
PRAGMA application_id = 1414682192;
PRAGMA user_version = 1;
PRAGMA journal_mode = WAL;
BEGIN;
CREATE TABLE person (
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL,
    name_key TEXT NOT NULL UNIQUE,
    sort_key TEXT NOT NULL,
    birth_date TEXT NOT NULL,
    birth_time TEXT NOT NULL,
    place TEXT NOT NULL,
    latitude REAL,
    longitude REAL,
    zone_name TEXT NOT NULL,
    utc_offset TEXT NOT NULL,
    zone_hours INTEGER,
    sex TEXT NOT NULL CHECK (sex IN ('', 'male', 'female')),
    lunar_day INTEGER,
    note TEXT NOT NULL,
    created TEXT NOT NULL,
    changed TEXT NOT NULL,
    result_lunar_day INTEGER,
    result_day_world TEXT,
    result_lunar_world TEXT,
    result_period_world TEXT,
    result_circle TEXT,
    result_calculated TEXT
);
CREATE INDEX person_by_sort_key ON person (sort_key, name_key);
INSERT INTO person VALUES (1, 'Иванов Пётр', 'иванов пётр', 'иванов петр', '01.01.1950',
    '00:00', 'Тверь', NULL, NULL, '', '', 3, 'male', 14, '', '2026-12-09T10:00:00Z',
    '2026-12-09T10:00:00Z', NULL, NULL, NULL, NULL, NULL, NULL);
INSERT INTO person VALUES (2, 'Ёлкина Алёна', 'ёлкина алёна', 'елкина алена', '29.02.1988',
    '06:45:30', 'Екатеринбург', 56.8389, 60.6057, 'Asia/Yekaterinburg', '+05:00', 5,
    'female', NULL, 'любит "Мастера и Маргариту"; звонить после 18:00',
    '2026-12-09T10:00:00Z', '2026-12-09T11:30:00Z', 21, 'c', 'b', 'b', 'Третьему',
    '2026-12-09T11:30:00Z');
COMMIT;
