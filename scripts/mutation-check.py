#!/usr/bin/env python3
"""Breaks each safety rule in turn and makes sure the native unit tests notice.

Each mutation replaces one exact piece of code in a scratch copy of the sources (build/mutation/src),
built without sanitizers (build/mutation/build, only the unit tests) and rebuilt incrementally for
each mutation. A mutation the tests survive fails the check; so does one whose
code is no longer there (the rule moved: update the mutation with it). The real tree is never
touched. Also refuses a test path written with a lone backslash ("T:\a.bak" is a bell, not a file).

    scripts/mutation-check.py [NAME...]      all mutations, or those named
"""
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
WORK = ROOT / "build" / "mutation"
SRC, BUILD = WORK / "src", WORK / "build"
COPIED = ["CMakeLists.txt", "cmake", "platform", "settings", "restore", "common", "cleanup", "toolkit", "skin", "forms",
          "app", "resources", "tests", "bench", "tools", "scripts"]

# name: (file, the code as it is, the code broken)
MUTATIONS = {
    "usable-mask": ("cleanup/Wildcard.cpp",
                    "  if (mask.size() > kMaxMaskLength || IsProgramMask(mask)) return false;",
                    "  return true;"),
    "exclusion-match": ("cleanup/FolderExclusion.cpp",
                        "  return paths_.count(UpperCase(folder)) != 0;",
                        "  return false;"),
    "temp-folder-guard": ("cleanup/TempFolderGuard.cpp",
                          "    if (keptPath && HoldsProtected(fs, *folder, self, *keptPath)) return TempOutcome::UnsafeFolder;",
                          "    if (keptPath && false && HoldsProtected(fs, *folder, self, *keptPath)) return {};"),
    "identity-check": ("platform/FileSystem.h",
                       "  if (expected.id.Known() && now.id != expected.id) return false;",
                       "  return true;"),
    "find-identity-check": ("cleanup/FoundList.cpp",
                            "  return Print(now, (print & kWithId) != 0) == print;",
                            "  return print == print;"),
    "only-ticked-finds-go": ("cleanup/FindDeletion.cpp",
                             "    if (!tickedOnly || finds_.Ticked(i)) KillFile(i, at);",
                             "    KillFile(i, at);"),
    "settings-read-retry": ("settings/SettingsFile.cpp",
                            "    if (waited >= SettingsFile::kRetryBudgetMs) return false;",
                            "    return false;"),
    "exclusion-in-either-reading": ("settings/SettingsSchema.cpp",
                                    "  if (!readings.ownPage) return keys;",
                                    "  return keys;"),
    "lines-keep-their-bytes": ("settings/SettingsFile.cpp",
                               "    if (auto found = byText.find(text); found != byText.end()) {",
                               "    if (auto found = byText.find(text); false) {"),
    "placeholders-left-alone": ("cleanup/GarbageSearch.cpp",
                                "!entry.IsLink() && !entry.IsPlaceholder(); }",
                                "!entry.IsLink(); }"),
    "placeholder-folders-not-entered": ("cleanup/GarbageSearch.cpp",
                                        "entry.IsLink() || entry.IsPlaceholder() || excludes_",
                                        "entry.IsLink() || excludes_"),
    "only-what-is-gone-counts": ("platform/FileSystem.h",
                                 "    return RequestRemoval(name, isExpected) && IsGone(name);",
                                 "    return RequestRemoval(name, isExpected);"),
    "refused-masks-stay-refused": ("cleanup/GarbageSearch.cpp",
                                   "  masksRefused_ = !enabled.empty() && state.MaskList.empty();",
                                   "  masksRefused_ = false;"),
}

LONE_BACKSLASH = re.compile(r'"[^"\n]*?\b[A-Za-z]:\\(?![\\"])[^"\n]*"')


def run(command, **kwargs):
    return subprocess.run(command, cwd=kwargs.pop("cwd", ROOT), stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, errors="replace", **kwargs)


def lone_backslashes():
    found = []
    for path in sorted((ROOT / "tests").rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            code = line.split("//", 1)[0] if not line.lstrip().startswith("//") else ""
            if LONE_BACKSLASH.search(code):
                found.append(f"{path.relative_to(ROOT)}:{number}: {line.strip()}")
    return found


def sync_copy():
    """The scratch copy made equal to the tree, rewriting only files that differ, so that a file
    keeps its time (and its object its build) while it is unchanged, and one restored after a
    mutation is rebuilt."""
    wanted = set()
    for name in COPIED:
        source = ROOT / name
        files = [source] if source.is_file() else [f for f in source.rglob("*") if f.is_file()]
        for file in files:
            relative = file.relative_to(ROOT)
            if "corpus" in relative.parts:
                continue
            wanted.add(relative)
            target = SRC / relative
            data = file.read_bytes()
            if relative == pathlib.Path("CMakeLists.txt"):
                data = data.replace(b" -Werror", b"")  # a broken rule may leave a name unused
            if not target.exists() or target.read_bytes() != data:
                target.parent.mkdir(parents=True, exist_ok=True)
                target.write_bytes(data)
    for file in [f for f in SRC.rglob("*") if f.is_file()]:
        if file.relative_to(SRC) not in wanted:
            file.unlink()


def build():
    if not (BUILD / "build.ninja").exists():
        configured = run(["cmake", "-S", str(SRC), "-B", str(BUILD), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                          "-DCMAKE_CXX_FLAGS=-O0 -g0"])
        if configured.returncode != 0:
            return configured
    return run(["cmake", "--build", str(BUILD), "--target", "unit_tests"])


def main(names):
    status = 0
    for problem in lone_backslashes():
        print(f"mutation check: a path with a lone backslash escape: {problem}")
        status = 1
    unknown = [name for name in names if name not in MUTATIONS]
    if unknown:
        print(f"mutation check: no mutation named {', '.join(unknown)}")
        return 2
    sync_copy()
    built = build()
    if built.returncode != 0:
        print(built.stdout[-4000:])
        print("mutation check: the unmutated copy does not build")
        return 1
    tests = BUILD / "tests" / "unit_tests"
    if run([str(tests)]).returncode != 0:
        print("mutation check: the unit tests fail without any mutation")
        return 1
    for name in names or MUTATIONS:
        file, code, broken = MUTATIONS[name]
        path = SRC / file
        original = path.read_text(encoding="utf-8")
        if original.count(code) != 1:
            print(f"mutation check: {name}: the code it breaks is not (once) in {file}; update the mutation")
            status = 1
            continue
        path.write_text(original.replace(code, broken), encoding="utf-8")
        try:
            built = build()
            if built.returncode != 0:
                print(built.stdout[-2000:])
                print(f"mutation check: {name}: the broken copy does not build; make the mutation compile")
                status = 1
            elif run([str(tests), "--gtest_fail_fast", "--gtest_brief=1"]).returncode == 0:
                print(f"mutation check: {name}: {file} broken, and every unit test still passes")
                status = 1
            else:
                print(f"mutation check: {name}: caught")
        finally:
            path.write_text(original, encoding="utf-8")
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
