#!/usr/bin/env python3
"""Mutation check of Tallora's core: puts small faults into the core's sources one at a time,
builds each and runs the tests of its layer, and reports which faults the tests did not notice.

The source tree is never written: a mutant is a copy of one .cpp file compiled, with the same
compile command, into that file's object in a worker's own copy of a pre-built build folder;
ninja then archives and links only what changed. See tools/mutation/README.md.
"""

from __future__ import annotations

import argparse
import dataclasses
import hashlib
import json
import os
import re
import resource
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import tomllib
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
DEFAULT_CONFIG = HERE / "layers.toml"
DEFAULT_BUILD_DIR = ROOT / "build-mutation"
DEFAULT_COUNT = 150
DEFAULT_SEED = 1
# A mutant's test run is cut off at this many times the unmutated run of the same tests, and
# never sooner than MIN_TIMEOUT seconds: long enough that only a hang or a runaway loop hits it.
TIMEOUT_FACTOR = 5
MIN_TIMEOUT = 30
# Guards for the machine that the run shares: a runaway mutant must not eat memory or disk.
TEST_MEMORY_LIMIT = 4 << 30
TEST_FILE_SIZE_LIMIT = 1 << 30
# Every layer gets at least this many mutants (when it has that many), the rest go by code lines.
MIN_PER_LAYER = 3


# ---------------------------------------------------------------------------------------------
# Reading C++: which characters are code


def code_view(text: str) -> list[str]:
    """The file's lines with comments blanked and the insides of string and character literals
    replaced by 'x', column for column, so that patterns only ever match code."""
    out = []
    i, n = 0, len(text)
    state = "code"
    raw_end = ""
    buf = []
    while i < n:
        c = text[i]
        if c == "\n":
            out.append("".join(buf))
            buf = []
            if state == "line_comment":
                state = "code"
            i += 1
            continue
        if state == "code":
            if text.startswith("//", i):
                state = "line_comment"
                buf.append("  ")
                i += 2
                continue
            if text.startswith("/*", i):
                state = "block_comment"
                buf.append("  ")
                i += 2
                continue
            m = re.match(r'(?:u8|u|U|L)?R"([^()\\ ]{0,16})\(', text[i:])
            if m and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
                raw_end = ")" + m.group(1) + '"'
                buf.append(m.group(0))
                i += len(m.group(0))
                state = "raw"
                continue
            if c == '"':
                state = "string"
                buf.append(c)
                i += 1
                continue
            if c == "'":
                prev = text[i - 1] if i else ""
                # A digit separator (1'000), not a character literal.
                if prev.isalnum() and re.search(r"\b\d[\w']*$", "".join(buf)):
                    buf.append(c)
                    i += 1
                    continue
                state = "char"
                buf.append(c)
                i += 1
                continue
            buf.append(c)
            i += 1
        elif state == "line_comment":
            buf.append(" ")
            i += 1
        elif state == "block_comment":
            if text.startswith("*/", i):
                buf.append("  ")
                state = "code"
                i += 2
            else:
                buf.append(" ")
                i += 1
        elif state == "raw":
            if text.startswith(raw_end, i):
                buf.append("x" * (len(raw_end) - 1) + '"')
                i += len(raw_end)
                state = "code"
            else:
                buf.append("x")
                i += 1
        else:  # string or char
            quote = '"' if state == "string" else "'"
            if c == "\\" and i + 1 < n and text[i + 1] != "\n":
                buf.append("xx")
                i += 2
            elif c == quote:
                buf.append(c)
                state = "code"
                i += 1
            else:
                buf.append("x")
                i += 1
    out.append("".join(buf))
    return out


# ---------------------------------------------------------------------------------------------
# Mutants


@dataclasses.dataclass
class Mutant:
    layer: str
    file: str  # relative to the repository
    line: int  # 1-based
    col: int  # 0-based, in the original line
    operator: str
    old: str  # the text replaced
    new: str  # what replaces it
    original_line: str = ""
    mutated_line: str = ""
    # Filled in by the run.
    outcome: str = ""
    seconds: float = 0.0
    detail: str = ""
    # The tests that failed with the mutant: with --record-tests every one (all of the layer's
    # tests run, no fail-fast), so that a report tells which tests alone find a mutant;
    # otherwise the first.
    failed_tests: list[str] = dataclasses.field(default_factory=list)

    def key(self, seed: int) -> str:
        ident = f"{seed}|{self.file}|{self.line}|{self.col}|{self.operator}|{self.old}|{self.new}"
        return hashlib.sha256(ident.encode()).hexdigest()

    def where(self) -> str:
        return f"{self.file}:{self.line}"


SWAPS = [
    # (operator, pattern on the code view, replacement of the matched group)
    ("comparison", " < ", " <= "),
    ("comparison", " <= ", " < "),
    ("comparison", " > ", " >= "),
    ("comparison", " >= ", " > "),
    ("comparison", " == ", " != "),
    ("comparison", " != ", " == "),
    ("arithmetic", " + ", " - "),
    ("arithmetic", " - ", " + "),
    ("arithmetic", " * ", " / "),
    ("arithmetic", " / ", " * "),
    ("arithmetic", " % ", " * "),
    ("arithmetic", " += ", " -= "),
    ("arithmetic", " -= ", " += "),
    ("arithmetic", " *= ", " /= "),
    ("arithmetic", " /= ", " *= "),
    ("logical", " && ", " || "),
    ("logical", " || ", " && "),
]

CONTROL_WORDS = {
    "return", "delete", "throw", "co_return", "co_yield", "co_await", "goto", "else", "new",
    "case", "default", "break", "continue", "using", "typedef", "namespace", "template",
    "friend", "static_assert", "public", "private", "protected", "if", "for", "while", "do",
    "switch", "try", "catch", "operator", "struct", "class", "enum", "union",
}
DECLARATION = re.compile(
    r"^(?:(?:const|static|constexpr|inline|thread_local|volatile|mutable|unsigned|signed|long"
    r"|short|extern)\s+)*[A-Za-z_][\w:]*(?:<.*>)?(?:\s*[*&]+)?\s+[*&]*[A-Za-z_]\w*\s*[=({;\[,]"
)
STRUCTURED_BINDING = re.compile(r"^(?:const\s+)?auto\s*&{0,2}\s*\[")


def balanced(s: str) -> bool:
    depth = 0
    for c in s:
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
            if depth < 0:
                return False
    return depth == 0


def closing_paren(s: str, open_at: int) -> int:
    depth = 0
    for k in range(open_at, len(s)):
        if s[k] == "(":
            depth += 1
        elif s[k] == ")":
            depth -= 1
            if depth == 0:
                return k
    return -1


def is_statement(code: str, prev_code: str) -> bool:
    """A whole statement on one line that can be dropped and still leave the code compiling."""
    s = code.strip()
    if not s.endswith(";") or s == ";" or not balanced(s):
        return False
    if not re.match(r"[A-Za-z_(*]", s) or "{" in s or "}" in s:
        return False
    first = re.match(r"[A-Za-z_]\w*", s)
    if first and first.group(0) in CONTROL_WORDS - {"break", "continue", "delete"}:
        return False
    if DECLARATION.match(s) or STRUCTURED_BINDING.match(s):
        return False
    p = prev_code.rstrip()
    # The statement must start on this line.
    if p.endswith((";", "{", "}", ":")):
        return True
    return bool(re.match(r"\s*(?:\}\s*)?(?:if|for|while|else)\b", prev_code)) and p.endswith(
        (")", "else")
    )


def mutants_of_file(layer: str, rel: str, text: str) -> list[Mutant]:
    lines = text.split("\n")
    code = code_view(text)
    found: list[Mutant] = []
    continued = False
    prev_code = "{"

    def add(no: int, col: int, op: str, old: str, new: str) -> None:
        line = lines[no]
        mutated = line[:col] + new + line[col + len(old) :]
        found.append(Mutant(layer, rel, no + 1, col, op, old, new, line.strip(), mutated.strip()))

    for no, c in enumerate(code):
        stripped = c.strip()
        # Preprocessor lines, with their continuations.
        if continued or stripped.startswith("#"):
            continued = c.rstrip().endswith("\\")
            continue
        if not stripped:
            continue
        if re.match(r"(?:static_assert|template|using|namespace|extern)\b", stripped):
            prev_code = c
            continue

        for op, old, new in SWAPS:
            start = 0
            while (at := c.find(old, start)) >= 0:
                start = at + 1
                # Strings are concatenated with +: the swap would not compile.
                if op == "arithmetic" and ('"' in c[max(0, at - 2) : at] or
                                           c[at + len(old) : at + len(old) + 1] == '"'):
                    continue
                add(no, at, op, old, new)

        for m in re.finditer(r"(?<=\w)\+\+|\+\+(?=\w)|(?<=\w)--|--(?=\w)", c):
            add(no, m.start(), "arithmetic", m.group(0), "--" if m.group(0) == "++" else "++")

        for m in re.finditer(r"(?<![\w.'])(\d+\.\d*|\d+)(?![\w.'])", c):
            lit = m.group(1)
            if "." in lit:
                whole, frac = lit.split(".")
                bumped = f"{int(whole) + 1}.{frac}"
            else:
                if len(lit) > 1 and lit.startswith("0"):
                    continue  # octal
                bumped = str(int(lit) + 1)
            add(no, m.start(1), "constant", lit, bumped)
        for m in re.finditer(r"\b(true|false)\b", c):
            add(no, m.start(), "constant", m.group(0), "false" if m.group(0) == "true" else "true")

        for m in re.finditer(r"\b(?:if|while)\s*\(", c):
            if c[m.end() :].lstrip().startswith("constexpr"):
                continue
            open_at = m.end() - 1
            close_at = closing_paren(c, open_at)
            if close_at < 0:
                continue
            cond = c[open_at + 1 : close_at]
            if ";" in cond or not cond.strip():
                continue
            orig = lines[no][open_at : close_at + 1]
            add(no, open_at, "condition", orig, "(!" + orig + ")")

        if is_statement(c, prev_code):
            body = lines[no].strip()
            indent = len(lines[no]) - len(lines[no].lstrip())
            add(no, indent, "statement", body, ";")

        prev_code = c
    return found


# ---------------------------------------------------------------------------------------------
# Layers, sources and tests


@dataclasses.dataclass
class Layer:
    name: str
    sources: list[str]
    tests: list[str]
    files: list[str] = dataclasses.field(default_factory=list)  # mutated .cpp files
    code_lines: int = 0
    suites: list[str] = dataclasses.field(default_factory=list)
    gtest_filter: str = "*"
    judged_by: str = ""
    baseline: float = 0.0
    candidates: list[Mutant] = dataclasses.field(default_factory=list)


def excluded(path: Path, base: Path, exclude: set[str]) -> bool:
    return any(part in exclude for part in path.relative_to(base).parts)


def cpp_files(folder: Path, exclude: set[str], suffixes=(".cpp",)) -> list[Path]:
    if not folder.is_dir():
        return []
    return sorted(
        p for p in folder.rglob("*") if p.suffix in suffixes and p.is_file()
        and not excluded(p, ROOT, exclude)
    )


SUITE = re.compile(r"\b(TEST|TEST_F|TEST_P|TYPED_TEST|TYPED_TEST_P)\s*\(\s*(\w+)\s*,")


def suite_patterns(files: list[Path]) -> list[str]:
    patterns = set()
    for f in files:
        text = "\n".join(code_view(f.read_text(errors="replace")))
        for kind, suite in SUITE.findall(text):
            if kind in ("TEST", "TEST_F"):
                patterns.add(f"{suite}.*")
            elif kind == "TEST_P":
                patterns.add(f"*/{suite}.*")
            elif kind == "TYPED_TEST":
                patterns.add(f"{suite}/*.*")
            else:
                patterns.add(f"*/{suite}/*.*")
    return sorted(patterns)


def code_line_count(text: str) -> int:
    return sum(1 for line in code_view(text) if line.strip())


def load_layers(config_path: Path) -> tuple[dict, list[Layer]]:
    config = tomllib.loads(config_path.read_text())
    layers = [
        Layer(entry["name"], list(entry["sources"]), list(entry.get("tests", [])))
        for entry in config["layer"]
    ]
    return config, layers


def warn_unlisted_core_folders(layers: list[Layer], exclude: set[str]) -> list[str]:
    listed = {Path(s).parts[1] for layer in layers for s in layer.sources if len(Path(s).parts) > 1}
    warnings = []
    for folder in sorted(p for p in (ROOT / "src").iterdir() if p.is_dir()):
        if folder.name in listed or folder.name in exclude:
            continue
        files = cpp_files(folder, exclude, (".cpp", ".h"))
        if files and not any(
            re.search(r"#\s*include\s*<Q", f.read_text(errors="replace")) for f in files
        ):
            warnings.append(f"src/{folder.name} includes no Qt but is not a layer in the config")
    return warnings


# ---------------------------------------------------------------------------------------------
# Sampling


def allocate(layers: list[Layer], count: int) -> dict[str, int]:
    """MIN_PER_LAYER each, the rest in proportion to the layers' code lines (largest
    remainder), never more than a layer has candidates."""
    floor = min(MIN_PER_LAYER, count // max(1, len(layers)))
    share = {l.name: min(floor, len(l.candidates)) for l in layers}
    left = count - sum(share.values())
    while left > 0:
        open_layers = [l for l in layers if share[l.name] < len(l.candidates)]
        if not open_layers:
            break
        total = sum(l.code_lines for l in open_layers) or 1
        wants = {l.name: left * l.code_lines / total for l in open_layers}
        given = 0
        for l in open_layers:
            extra = min(int(wants[l.name]), len(l.candidates) - share[l.name])
            share[l.name] += extra
            given += extra
        rest = left - given
        by_remainder = sorted(open_layers, key=lambda l: (-(wants[l.name] % 1), l.name))
        for l in by_remainder:
            if rest == 0:
                break
            if share[l.name] < len(l.candidates):
                share[l.name] += 1
                rest -= 1
        if left == rest:
            break
        left = rest
    return share


def replay(layers: list[Layer], report: dict) -> tuple[list[Mutant], list[Mutant]]:
    """The earlier report's mutants found among today's candidates: same file, operator, text
    replaced and original line (stripped), the nearest such line to where it was."""
    by_text: dict[tuple, list[Mutant]] = {}
    for l in layers:
        for m in l.candidates:
            ident = (m.file, m.operator, m.old, m.new, m.col, m.original_line.strip())
            by_text.setdefault(ident, []).append(m)
    picked, gone = [], []
    for old in report["mutants"]:
        ident = (old["file"], old["operator"], old["old"], old["new"], old["col"],
                 old["original_line"].strip())
        found = by_text.get(ident)
        if found:
            picked.append(min(found, key=lambda m: abs(m.line - old["line"])))
        else:
            fields = {f.name for f in dataclasses.fields(Mutant)}
            gone.append(Mutant(**{k: v for k, v in old.items() if k in fields and k not in (
                "outcome", "seconds", "detail", "failed_tests")}))
    return picked, gone


def sample(layers: list[Layer], count: int, seed: int) -> list[Mutant]:
    # Ranking by a hash of the seed and the mutant itself: the same seed and sources give the
    # same sample, and a change in one file leaves the picks in the others alone.
    share = allocate(layers, count)
    picked = []
    for l in layers:
        ranked = sorted(l.candidates, key=lambda m: m.key(seed))
        picked.extend(sorted(ranked[: share[l.name]], key=lambda m: (m.file, m.line, m.col)))
    return picked


# ---------------------------------------------------------------------------------------------
# Building


class Interrupted(Exception):
    pass


class Runner:
    """Starts child processes in their own process groups so that all can be ended at once."""

    def __init__(self) -> None:
        self.lock = threading.Lock()
        self.running: set[subprocess.Popen] = set()
        self.stopping = threading.Event()

    def run(self, args, cwd, timeout=None, env=None, limits=False):
        if self.stopping.is_set():
            raise Interrupted()

        def limit():
            if limits:
                resource.setrlimit(resource.RLIMIT_AS, (TEST_MEMORY_LIMIT, TEST_MEMORY_LIMIT))
                resource.setrlimit(resource.RLIMIT_FSIZE,
                                   (TEST_FILE_SIZE_LIMIT, TEST_FILE_SIZE_LIMIT))
                resource.setrlimit(resource.RLIMIT_CORE, (0, 0))

        proc = subprocess.Popen(
            args, cwd=cwd, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
            stdin=subprocess.DEVNULL, start_new_session=True, preexec_fn=limit,
        )
        with self.lock:
            self.running.add(proc)
        try:
            out, _ = proc.communicate(timeout=timeout)
            timed_out = False
        except subprocess.TimeoutExpired:
            self.kill(proc)
            out, _ = proc.communicate()
            timed_out = True
        finally:
            with self.lock:
                self.running.discard(proc)
        if self.stopping.is_set():
            raise Interrupted()
        return proc.returncode, out.decode(errors="replace"), timed_out

    @staticmethod
    def kill(proc: subprocess.Popen) -> None:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass

    def stop_all(self) -> None:
        self.stopping.set()
        with self.lock:
            for proc in list(self.running):
                self.kill(proc)


def ensure_base_build(build_dir: Path, jobs: int, binary: str, runner: Runner) -> Path:
    base = build_dir / "base"
    print(f"Configuring {base} (core only, Release)", flush=True)
    # The tests are listed when ctest runs, not after each link: a worker's link then runs
    # nothing of the base folder's.
    code, out, _ = runner.run(
        ["cmake", "-S", str(ROOT), "-B", str(base), "-G", "Ninja",
         "-DCMAKE_BUILD_TYPE=Release", "-DTALLORA_DESKTOP=OFF", "-DTALLORA_BUILD_BENCH=OFF",
         "-DTALLORA_WERROR=OFF", "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"],
        cwd=ROOT)
    if code != 0:
        sys.exit(f"cmake failed:\n{out}")
    print(f"Building {binary} in {base}", flush=True)
    code, out, _ = runner.run(["ninja", "-j", str(jobs), binary], cwd=base)
    if code != 0:
        sys.exit(f"The unmutated build failed:\n{out[-4000:]}")
    return base


def compile_commands(base: Path, binary: str, runner: Runner) -> dict[str, dict]:
    """The compile command of every source that goes into the test binary, by absolute path."""
    code, needed, _ = runner.run(["ninja", "-t", "commands", binary], cwd=base)
    if code != 0:
        sys.exit("ninja -t commands failed")
    needed_words = set(needed.split())
    entries = json.loads((base / "compile_commands.json").read_text())
    commands = {}
    for e in entries:
        args = shlex.split(e["command"])
        if "-o" not in args:
            continue
        e["output"] = args[args.index("-o") + 1]
        if e["output"] in needed_words:
            commands[str(Path(e["directory"], e["file"]).resolve())] = e
    return commands


# ---------------------------------------------------------------------------------------------
# Running one mutant


class Worker:
    def __init__(self, index: int, base: Path, build_dir: Path, binary: str, runner: Runner):
        self.dir = build_dir / f"worker-{index}"
        self.base = base
        self.binary = binary
        self.runner = runner
        self.mutant_dir = self.dir / "mutant"
        self.dirty_object: Path | None = None
        self.archives: dict[str, Path] = {}
        self.record_tests = False

    def prepare(self) -> None:
        if self.dir.exists():
            shutil.rmtree(self.dir)
        shutil.copytree(self.base, self.dir, symlinks=True)
        self.mutant_dir.mkdir()

    def archive_of(self, obj: Path) -> Path:
        rel = str(obj.relative_to(self.dir))
        if rel not in self.archives:
            # Not through the runner: a restore after Ctrl+C still needs it.
            out = subprocess.run(["ninja", "-t", "query", rel], cwd=self.dir,
                                 capture_output=True, text=True).stdout
            outputs = re.findall(r"^\s+(\S+\.a)$", out.split("outputs:")[-1], re.M)
            if len(outputs) != 1:
                raise RuntimeError(f"no one archive holds {rel}:\n{out}")
            self.archives[rel] = self.dir / outputs[0]
        return self.archives[rel]

    def make_archive_stale(self, obj: Path) -> None:
        """The object keeps the unmutated one's time: newer, ninja would take its dependency
        record as stale and compile the original source again. Instead its archive is made
        older than it, so that ninja archives it again and links."""
        original = (self.base / obj.relative_to(self.dir)).stat()
        os.utime(obj, ns=(original.st_atime_ns, original.st_mtime_ns))
        older = original.st_mtime_ns - 1_000_000_000
        os.utime(self.archive_of(obj), ns=(older, older))

    def restore(self) -> None:
        """Puts the unmutated object back; its archive is made again at the next build."""
        if self.dirty_object is None:
            return
        rel = self.dirty_object.relative_to(self.dir)
        shutil.copy2(self.base / rel, self.dirty_object)
        self.make_archive_stale(self.dirty_object)
        self.dirty_object = None

    def compile_mutant(self, entry: dict, source: Path, mutated_text: str):
        """Compiles the mutated copy into the worker's object of that source. Returns the
        object's path, or None and the compiler's output."""
        copy = self.mutant_dir / source.name
        copy.write_text(mutated_text)
        args = shlex.split(entry["command"])
        base_str, dir_str = str(self.base), str(self.dir)
        args = [a.replace(base_str, dir_str) for a in args]
        cleaned, skip = [], 0
        for a in args:
            if skip:
                skip -= 1
                continue
            if a in ("-MT", "-MF"):
                skip = 1
                continue
            if a in ("-MD", "-MMD"):
                continue
            cleaned.append(str(copy) if a == entry["file"] or a == str(source) else a)
        # Includes beside the original file, and the original's name in the object.
        cleaned[1:1] = ["-iquote", str(source.parent),
                        f"-ffile-prefix-map={self.mutant_dir}={source.parent}"]
        output = Path(entry["output"])
        obj = output if output.is_absolute() else self.dir / output
        obj = Path(str(obj).replace(base_str, dir_str))
        self.dirty_object = obj
        code, out, _ = self.runner.run(cleaned, cwd=str(entry["directory"]).replace(base_str, dir_str))
        if code != 0:
            return None, out
        return obj, ""

    def run(self, m: Mutant, entry: dict, layer: Layer, all_filter: str, timeout: float) -> None:
        start = time.monotonic()
        source = ROOT / m.file
        text = source.read_text()
        lines = text.split("\n")
        line = lines[m.line - 1]
        lines[m.line - 1] = line[: m.col] + m.new + line[m.col + len(m.old) :]
        try:
            obj, out = self.compile_mutant(entry, source, "\n".join(lines))
            if obj is None:
                m.outcome, m.detail = "not compiled", first_error(out)
                return
            if obj.read_bytes() == (self.base / obj.relative_to(self.dir)).read_bytes():
                m.outcome = "equivalent"
                m.detail = "the same object code as the original"
                return
            self.make_archive_stale(obj)
            tests_bin = self.dir / "tests" / self.binary
            linked_before = tests_bin.stat().st_mtime_ns
            code, out, _ = self.runner.run(["ninja", "-j", "1", self.binary], cwd=self.dir)
            if code != 0:
                m.outcome, m.detail = "not compiled", first_error(out)
                return
            # Only the archive and the link may run: a compile means the mutant was replaced.
            if re.search(r"Building CXX", out) or tests_bin.stat().st_mtime_ns == linked_before:
                raise RuntimeError(f"the mutant of {m.file} did not reach the test binary:\n{out}")
            # What a mutant leaves behind that cannot be removed must not stop the run.
            with tempfile.TemporaryDirectory(dir=self.dir, prefix="tmp-",
                                             ignore_cleanup_errors=True) as tmp:
                env = dict(os.environ)
                # A mutant must never record the CLI's golden output again.
                env.pop("TALLORA_RECORD_GOLDEN", None)
                env["TMPDIR"] = tmp
                env["GTEST_COLOR"] = "no"
                results = Path(tmp) / "results.json"
                run = [str(tests_bin), f"--gtest_filter={layer.gtest_filter or all_filter}",
                       "--gtest_brief=1"]
                run += [f"--gtest_output=json:{results}"] if self.record_tests \
                    else ["--gtest_fail_fast"]
                code, out, timed_out = self.runner.run(
                    run, cwd=self.dir / "tests", timeout=timeout, env=env, limits=True)
                m.failed_tests = failed_tests(results, out)
            if timed_out:
                m.outcome = "timed out"
            elif code == 0:
                m.outcome = "survived"
            else:
                m.outcome = "killed"
                m.detail = first_failure(out, code)
        finally:
            self.restore()
            m.seconds = time.monotonic() - start


def first_error(out: str) -> str:
    for line in out.splitlines():
        if "error" in line:
            return line.strip()[:200]
    return out.strip().splitlines()[-1][:200] if out.strip() else ""


def failed_tests(results: Path, out: str) -> list[str]:
    """The tests that failed: from gtest's JSON, or, when the binary died before writing it,
    from the "[  FAILED  ]" lines of its output."""
    try:
        data = json.loads(results.read_text())
        return [f"{suite['name']}.{t['name']}" for suite in data.get("testsuites", [])
                for t in suite.get("testsuite", []) if t.get("failures")]
    except (OSError, ValueError):
        names = []
        for line in out.splitlines():
            if line.startswith("[  FAILED  ]"):
                name = line[len("[  FAILED  ]"):].strip().split(" ")[0].rstrip(",")
                if name and name not in names and "." in name:
                    names.append(name)
        return names


def first_failure(out: str, code: int) -> str:
    for line in out.splitlines():
        if line.startswith("[  FAILED  ]"):
            return line[len("[  FAILED  ]") :].strip()[:200]
    return f"exit status {code}" if code > 0 else f"signal {-code}"


# ---------------------------------------------------------------------------------------------
# Report

COUNTED = ("killed", "timed out", "survived")
OUTCOMES = ("killed", "timed out", "survived", "not compiled", "equivalent")


def score(counts: dict[str, int]) -> float | None:
    judged = sum(counts[o] for o in COUNTED)
    return None if judged == 0 else 100.0 * (counts["killed"] + counts["timed out"]) / judged


def tally(mutants: list[Mutant]) -> dict[str, int]:
    counts = {o: 0 for o in OUTCOMES}
    counts["not run"] = 0
    for m in mutants:
        counts[m.outcome if m.outcome in counts else "not run"] += 1
    return counts


def git_commit() -> str:
    try:
        out = subprocess.run(["git", "-C", str(ROOT), "rev-parse", "--short", "HEAD"],
                             capture_output=True, text=True, check=True).stdout.strip()
        dirty = subprocess.run(["git", "-C", str(ROOT), "status", "--porcelain", "--", "src"],
                               capture_output=True, text=True).stdout.strip()
        return out + (" (src/ has uncommitted changes)" if dirty else "")
    except (OSError, subprocess.CalledProcessError):
        return "unknown"


def write_report(path: Path, layers: list[Layer], mutants: list[Mutant], args, seconds: float,
                 interrupted: bool, warnings: list[str], unlinked: list[str]) -> None:
    per_layer = {}
    for l in layers:
        mine = [m for m in mutants if m.layer == l.name]
        per_layer[l.name] = tally(mine)
    overall = tally(mutants)

    def pct(counts):
        s = score(counts)
        return "   -" if s is None else f"{s:5.1f}%"

    out = []
    out.append("Tallora mutation check")
    out.append("")
    out.append(f"commit:   {git_commit()}")
    if args.replay:
        out.append(f"sample:   {len(mutants)} mutants of {args.replay.name}, {args.jobs} worker(s)")
    else:
        out.append(f"sample:   {len(mutants)} mutants, seed {args.seed}, {args.jobs} worker(s)")
    out.append("tests:    " + ("the whole core suite for every layer" if args.all_tests
                              else "each layer's own tests"))
    out.append(f"run time: {format_duration(seconds)}" + ("  (INTERRUPTED: partial)" if interrupted else ""))
    out.append("")
    out.append("score = (killed + timed out) / (killed + timed out + survived); mutants that did")
    out.append("not compile and ones whose object code is unchanged are not counted.")
    out.append("")
    header = f"{'layer':<11}{'mutants':>8}{'killed':>8}{'timeout':>8}{'survived':>9}" \
             f"{'no-build':>9}{'equiv':>6}{'score':>8}  judged by"
    out.append(header)
    out.append("-" * len(header))

    def row(name, c, judged_by):
        total = sum(c.values())
        return (f"{name:<11}{total:>8}{c['killed']:>8}{c['timed out']:>8}{c['survived']:>9}"
                f"{c['not compiled']:>9}{c['equivalent']:>6}{pct(c):>8}  {judged_by}")

    for l in layers:
        out.append(row(l.name, per_layer[l.name], l.judged_by))
    out.append("-" * len(header))
    out.append(row("overall", overall, ""))
    if overall["not run"]:
        out.append(f"({overall['not run']} not run: the run was interrupted)")
    out.append("")

    survivors = [m for m in mutants if m.outcome == "survived"]
    out.append(f"Survivors ({len(survivors)})")
    out.append("")
    for m in survivors:
        out.append(f"  {m.where()}  [{m.operator}] {m.old!s} -> {m.new!s}")
        out.append(f"      - {m.original_line}")
        out.append(f"      + {m.mutated_line}")
    out.append("")
    timeouts = [m for m in mutants if m.outcome == "timed out"]
    if timeouts:
        out.append(f"Timed out ({len(timeouts)}, counted as found)")
        for m in timeouts:
            out.append(f"  {m.where()}  [{m.operator}] {m.old} -> {m.new}")
        out.append("")
    if args.gone:
        out.append(f"Gone ({len(args.gone)}): the line is no longer in the sources, not run")
        for m in args.gone:
            out.append(f"  {m.where()}  [{m.operator}] {m.original_line.strip()}")
        out.append("")
    others = [m for m in mutants if m.outcome in ("not compiled", "equivalent")]
    out.append(f"Not counted ({len(others)}): did not compile, or the same object code")
    for m in others:
        out.append(f"  {m.where()}  [{m.operator}] {m.old} -> {m.new}  ({m.outcome})")
    out.append("")
    if unlinked:
        out.append("Not mutated, not in the test binary: " + ", ".join(unlinked))
    for w in warnings:
        out.append("warning: " + w)
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text("\n".join(out).rstrip() + "\n")

    data = {
        "commit": git_commit(),
        "seed": args.seed,
        "count": len(mutants),
        "jobs": args.jobs,
        "tests": "all" if args.all_tests else "layer",
        "record_tests": args.record_tests,
        "seconds": round(seconds, 1),
        "interrupted": interrupted,
        "layers": {
            l.name: {**per_layer[l.name], "score": score(per_layer[l.name]),
                     "judged_by": l.judged_by, "code_lines": l.code_lines,
                     "unmutated_test_seconds": round(l.baseline, 1),
                     "files": l.files}
            for l in layers
        },
        "overall": {**overall, "score": score(overall)},
        "mutants": [
            {k: v for k, v in dataclasses.asdict(m).items()} | {"seconds": round(m.seconds, 1)}
            for m in mutants
        ],
        "replayed_from": str(args.replay) if args.replay else None,
        "gone": [dataclasses.asdict(m) for m in args.gone],
        "not_in_test_binary": unlinked,
        "warnings": warnings,
    }
    json_path = path.with_suffix(".json")
    json_path.write_text(json.dumps(data, indent=1) + "\n")


def format_duration(seconds: float) -> str:
    m, s = divmod(int(round(seconds)), 60)
    h, m = divmod(m, 60)
    return f"{h}h {m:02d}m {s:02d}s" if h else f"{m}m {s:02d}s"


# ---------------------------------------------------------------------------------------------
# Main


def only_layers(layers: list[Layer], names: str) -> list[Layer]:
    """The layers named in a comma-separated list; an unknown name ends the run."""
    wanted = names.split(",")
    unknown = set(wanted) - {l.name for l in layers}
    if unknown:
        sys.exit(f"unknown layers: {', '.join(sorted(unknown))}")
    return [l for l in layers if l.name in wanted]


def parse_args(argv):
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--count", type=int, default=DEFAULT_COUNT,
                   help=f"mutants in the sample (default {DEFAULT_COUNT})")
    p.add_argument("--seed", type=int, default=DEFAULT_SEED,
                   help=f"seed of the sample (default {DEFAULT_SEED})")
    p.add_argument("--jobs", type=int, default=2, help="workers, one build folder each (default 2)")
    p.add_argument("--layers", help="comma-separated layers to mutate (default: all in the config)")
    p.add_argument("--run-layers",
                   help="comma-separated layers to run, from the sample drawn over all layers: "
                        "the same mutants of those layers as a whole run, so one layer's tests "
                        "can be checked alone")
    p.add_argument("--replay", type=Path,
                   help="the mutants of an earlier report's JSON instead of a new sample: each "
                        "is found again by its file, line text and operator, wherever the line "
                        "has moved; one whose line is gone is listed and not run")
    p.add_argument("--all-tests", action="store_true",
                   help="judge every mutant by the whole test binary, not its layer's tests")
    p.add_argument("--record-tests", action="store_true",
                   help="run every test of the layer for each mutant (no fail-fast) and record "
                        "in the JSON which tests failed; slower, the outcomes are the same")
    p.add_argument("--report", type=Path,
                   help="text report (the JSON goes beside it with .json; default "
                        "build-mutation/report.txt)")
    p.add_argument("--build-dir", type=Path, default=DEFAULT_BUILD_DIR,
                   help="where the base build and the workers' copies go (default build-mutation/)")
    p.add_argument("--config", type=Path, default=DEFAULT_CONFIG, help="layers config (TOML)")
    p.add_argument("--list", action="store_true",
                   help="print the sample and each layer's gtest filter; build nothing")
    return p.parse_args(argv)


def main(argv=None) -> int:
    args = parse_args(argv)
    if args.jobs < 1 or args.count < 1:
        sys.exit("--jobs and --count must be at least 1")
    config, layers = load_layers(args.config)
    exclude = set(config.get("exclude", []))
    binary = config.get("test_binary", "tallora_tests")
    if args.layers:
        layers = only_layers(layers, args.layers)
    warnings = warn_unlisted_core_folders(layers if not args.layers else load_layers(args.config)[1],
                                          exclude)
    for w in warnings:
        print("warning: " + w, file=sys.stderr)

    runner = Runner()
    build_dir = args.build_dir.resolve()
    commands = None
    if not args.list:
        base = ensure_base_build(build_dir, args.jobs, binary, runner)
        commands = compile_commands(base, binary, runner)

    unlinked = []
    for l in layers:
        for folder in l.sources:
            for f in cpp_files(ROOT / folder, exclude):
                rel = str(f.relative_to(ROOT))
                if commands is not None and str(f.resolve()) not in commands:
                    unlinked.append(rel)
                    continue
                text = f.read_text(errors="replace")
                l.files.append(rel)
                l.code_lines += code_line_count(text)
                l.candidates.extend(mutants_of_file(l.name, rel, text))
        test_files = [f for folder in l.tests for f in cpp_files(ROOT / folder, exclude)]
        l.suites = suite_patterns(test_files)
        if l.suites:
            l.gtest_filter = ":".join(l.suites)
            l.judged_by = "own tests" if not args.all_tests else "all tests"
        else:
            l.gtest_filter = ""
            l.judged_by = "all tests (none of its own)"
        if args.all_tests:
            l.gtest_filter = ""
    picked = sample(layers, args.count, args.seed)
    gone = []
    if args.replay:
        picked, gone = replay(layers, json.loads(args.replay.read_text()))
        for m in gone:
            print(f"gone: {m.where()} [{m.operator}] {m.original_line}", file=sys.stderr)
    args.gone = gone
    if args.run_layers:
        layers = only_layers(layers, args.run_layers)
        picked = [m for m in picked if m.layer in {l.name for l in layers}]

    if args.list:
        for l in layers:
            print(f"{l.name}: {len(l.files)} files, {l.code_lines} code lines, "
                  f"{len(l.candidates)} candidates; filter {l.gtest_filter or '*'}")
        for m in picked:
            print(f"{m.where()} [{m.operator}] {m.old} -> {m.new}")
        return 0

    # The unmutated tests must pass; their time sets each layer's timeout.
    print("Running the unmutated tests of each layer", flush=True)
    env = dict(os.environ)
    env.pop("TALLORA_RECORD_GOLDEN", None)
    timeouts = {}
    for l in layers:
        if not any(m.layer == l.name for m in picked):
            continue
        start = time.monotonic()
        code, out, _ = runner.run([str(base / "tests" / binary),
                                   f"--gtest_filter={l.gtest_filter or '*'}", "--gtest_brief=1"],
                                  cwd=base / "tests", env=env)
        l.baseline = time.monotonic() - start
        if code != 0:
            sys.exit(f"The unmutated tests of {l.name} fail; fix them first:\n{out[-3000:]}")
        timeouts[l.name] = max(MIN_TIMEOUT, TIMEOUT_FACTOR * l.baseline)
        print(f"  {l.name}: {l.baseline:.1f} s, timeout {timeouts[l.name]:.0f} s", flush=True)

    by_name = {l.name: l for l in layers}
    queue = list(picked)
    queue_lock = threading.Lock()
    done = [0]
    workers = [Worker(k + 1, base, build_dir, binary, runner) for k in range(args.jobs)]
    for w in workers:
        w.record_tests = args.record_tests
    errors = []

    def work(worker: Worker) -> None:
        try:
            worker.prepare()
            while not runner.stopping.is_set():
                with queue_lock:
                    if not queue:
                        return
                    m = queue.pop(0)
                entry = commands[str((ROOT / m.file).resolve())]
                worker.run(m, entry, by_name[m.layer], "*", timeouts[m.layer])
                with queue_lock:
                    done[0] += 1
                    print(f"[{done[0]}/{len(picked)}] {m.where()} [{m.operator}] "
                          f"{m.old} -> {m.new}: {m.outcome} ({m.seconds:.0f} s)", flush=True)
        except Interrupted:
            pass
        except Exception as e:  # noqa: BLE001 - reported, and the run stops
            errors.append(e)
            runner.stop_all()
        finally:
            worker.restore()

    def on_term(signum, frame):
        raise KeyboardInterrupt

    signal.signal(signal.SIGTERM, on_term)
    start = time.monotonic()
    threads = [threading.Thread(target=work, args=(w,)) for w in workers]
    interrupted = False
    try:
        for t in threads:
            t.start()
        while any(t.is_alive() for t in threads):
            for t in threads:
                t.join(timeout=0.5)
    except KeyboardInterrupt:
        interrupted = True
        print("\nInterrupted: stopping the workers", flush=True)
        runner.stop_all()
        for t in threads:
            t.join()
    for m in picked:
        if m.outcome == "":
            m.outcome = "not run"
    if errors:
        interrupted = True
        print(f"error: {errors[0]!r}", file=sys.stderr)
    seconds = time.monotonic() - start
    report = args.report or build_dir / "report.txt"
    write_report(report, layers, picked, args, seconds, interrupted, warnings, unlinked)
    print(report.read_text())
    print(f"Report: {report} and {report.with_suffix('.json')}")
    return 130 if interrupted and not errors else (1 if errors else 0)


if __name__ == "__main__":
    sys.exit(main())
