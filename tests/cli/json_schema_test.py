#!/usr/bin/python3
"""Every kind of JSON document toravel-cli writes, taken from real runs of the
program built, checked against docs/toravel-1.schema.json with the
jsonschema package: the calculation's computed and typed paths, listings,
each error that a run can end with, --places, the lines of --batch, --month
and the person file's list.

    json_schema_test.py TORAVEL_CLI SCHEMA BUILD_ROOT

Exit status 0 when every document conforms, 1 otherwise, 77 (skipped) when
the jsonschema package is missing.
"""
import json
import os
import subprocess
import sys
import tempfile

try:
    import jsonschema
except ImportError:
    print("python3-jsonschema is not installed: skipped")
    sys.exit(77)

cli, schema_path, build_root = sys.argv[1:4]
with open(schema_path, encoding="utf-8") as f:
    schema = json.load(f)
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)

home = tempfile.mkdtemp(prefix="toravel-schema-")
environment = dict(os.environ, TZ="UTC", LC_ALL="C.UTF-8", HOME=home,
                   XDG_DATA_HOME=os.path.join(home, "data"))
failures = 0
documents = 0


def run(arguments, stdin=None, want=None):
    """The program's standard output; `want` is the exit status expected."""
    done = subprocess.run([cli] + arguments, cwd=build_root, env=environment, input=stdin,
                          capture_output=True)
    if want is not None and done.returncode != want:
        fail(arguments, f"exit status {done.returncode}, expected {want}: "
             f"{done.stderr.decode(errors='replace')}")
    return done.stdout.decode()


def fail(arguments, why):
    global failures
    failures += 1
    print(f"FAIL {' '.join(arguments)}\n  {why}")


def check(arguments, document):
    global documents
    documents += 1
    errors = sorted(validator.iter_errors(document), key=lambda e: list(e.path))
    for error in errors[:5]:
        fail(arguments, f"at {'/'.join(map(str, error.path))}: {error.message[:300]}")


def check_one(arguments, want, stdin=None):
    text = run(arguments, stdin, want)
    try:
        document = json.loads(text)
    except json.JSONDecodeError as e:
        fail(arguments, f"no JSON document: {e}: {text[:200]}")
        return None
    check(arguments, document)
    return document


def check_lines(arguments, want, stdin=None):
    text = run(arguments, stdin, want)
    for line in text.splitlines():
        check(arguments, json.loads(line))


moscow = ["--date", "17.05.1990", "--time", "14:30", "--city", "Москва"]
calculations = [
    (moscow + ["--utc-offset", "+04:00"], 0),
    (moscow + ["--zone", "4", "--list"], 0),
    (moscow + ["--auto-zone", "--list"], 0),
    (["--date", "17.05.1990", "--lat", "55,75", "--lon", "37,62", "--zone-name",
      "Asia/Kolkata"], 0),
    (["--date", "17.05.1990", "--place", "Кинешма", "--auto-zone"], 0),
    (["--date", "15.06.2020", "--lat", "55,03", "--lon", "82,92", "--auto-zone"], 0),
    (["--date", "17.05.1990", "--lat", "север", "--lon", "юг", "--lunar-day", "7"], 0),
    (["--date", "17.05.1990", "--lat", "55", "--lon", "37", "--lunar-day", "-5"], 0),
    (["--date", "28.03.2021", "--time", "02:30", "--lat", "52,5", "--lon", "13,4",
      "--zone-name", "Europe/Berlin"], 0),
    (["--date", "14.12.2020", "--time", "23:00", "--lat", "78,22", "--lon", "15,63",
      "--utc-offset", "+01", "--list"], 0),
    (["--date", "17.05.1990"], 1),
    (["--date", "17.05.1990", "--lat", "95", "--lon", "37"], 1),
    (["--date", "17.05.1990", "--lat", "abc", "--lon", "37"], 1),
    (["--date", "17.05.1990", "--lat", "55", "--lon", "37", "--db", "/nonexistent"], 1),
    (["--date", "31.02.1990", "--lat", "55", "--lon", "37"], 2),
    (["--date", "17.05.1990", "--lat", "0", "--lon", "-30"], 2),
    (["--date", "17.05.1990", "--utc-offset", "+25:00"], 2),
    (["--frobnicate"], 2),
]
for arguments, want in calculations:
    check_one(arguments + ["--json"], want)

check_one(["--places", "Москва", "--json"], 0)
check_one(["--places", "Шамбалаград", "--json"], 1)
check_one(["--places", "Сингапур", "--json"], 0)  # a zone's city of unknown population

births = ("name,date,time,latitude,longitude,place,utc_offset,zone_name,lunar_day,note\n"
          "Анна,17.05.1990,14:30,55.7558,37.6173,,+04:00,,,\n"
          "Борис,1990-05-17,14:30,,,Кинешма,,,,x\n"
          "Вера,17.05.1990,14:30,55,37,,,Europe/Moscow,7,\n"
          "Глеб,31.02.1990,14:30,55,37,,+03:00,,,\n"
          "Дарья,17.05.1990,14:30,95,37,,+03:00,,,\n"
          "too,few\n").encode()
check_lines(["--batch", "-"], 1, births)
check_lines(["--batch", "-", "--list"], 1, births)
check_lines(["--batch", "-"], 1, b"")

check_one(["--month", "12.2026", "--place", "Мурманск", "--json"], 0)
check_one(["--month", "03.2021", "--lat", "52.52", "--lon", "13.405", "--zone-name",
           "Europe/Berlin", "--json"], 0)
check_one(["--month", "01.2026", "--lat", "22.57", "--lon", "88.36", "--utc-offset", "+05:30",
           "--json"], 0)
check_one(["--month", "06.2026", "--lat", "69.6492", "--lon", "18.9553", "--zone-name",
           "Europe/Oslo", "--json"], 0)  # a date with two moonrises
check_one(["--month", "13.2026", "--place", "Москва", "--json"], 2)

people = os.path.join(home, "people.sqlite")
check_one(["--people", "--json", "--people-file", people], 0)
run(["--people-import", "-", "--people-file", people], births, 1)
check_one(["--people", "--json", "--people-file", people], 0)
check_one(["--person", "анна", "--json", "--people-file", people], 0)
check_one(["--person", "Никто", "--json", "--people-file", people], 2)
not_ours = os.path.join(home, "not-ours.sqlite")
with open(not_ours, "w") as f:
    f.write("no database\n")
check_one(["--people", "--json", "--people-file", not_ours], 1)

print(f"{documents} documents checked, {failures} failures")
sys.exit(1 if failures or documents == 0 else 0)
