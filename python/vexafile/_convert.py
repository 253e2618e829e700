"""vexafile.convert: the conversions of vexaconv and the converter window from a script."""

import os
from dataclasses import dataclass

from . import _vexafile

# The option words of vexaconv, and the values the engine takes for them.
MODES = {"bin2col": 2, "bin2full": 1, "full2bin": 0}
COLS = {"one": 1, "all": 2, "block": 3}
LAST_LINES = {"nothing": 0, "crlf": 1, "crlf-eof": 2}
EXTS = {"data": 0, "txt": 1, "input": 2}
DELIMITERS = {"blank": 32, "double-blank": 31, "comma": 44, "semicolon": 59, "tab": 9, "tex": 29,
              "cr": 13, "lf": 10, "crlf": 30}


@dataclass(frozen=True)
class Outcome:
    """What became of one file: converted (perhaps cut: the source ends inside a record, so its last
    record is incomplete) or passed over, with the reason."""

    source: str
    destination: str
    converted: bool
    cut: bool
    reason: str  # why the file was passed over; empty when it was converted
    message: str  # what the converter window would have shown in a box (a missing folder, ...)

    @property
    def status(self):
        return "cut" if self.cut else "converted" if self.converted else "passed over"


def _choice(table, word, option):
    if word not in table:
        raise ValueError("%s must be one of %s, not %r" % (option, ", ".join(table), word))
    return table[word]


def _delimiter_code(delimiter):
    if isinstance(delimiter, int) and 0 <= delimiter <= 255:
        return delimiter
    if isinstance(delimiter, str) and delimiter in DELIMITERS:
        return DELIMITERS[delimiter]
    if isinstance(delimiter, str) and len(delimiter) == 1 and ord(delimiter) < 256:
        return ord(delimiter)
    raise ValueError("delimiter must be one of %s, a character or a code 0..255, not %r"
                     % (", ".join(DELIMITERS), delimiter))


def _files(sources, mask):
    """The files to convert: named files as given, a folder's files that match the mask, by name."""
    files = []
    for source in sources:
        source = os.fspath(source)
        if os.path.isdir(source):
            names = sorted(e.name for e in os.scandir(source)
                           if e.is_file() and not e.name.startswith(".") and _vexafile.mask_matches(mask, e.name))
            files += [os.path.join(source, name) for name in names]
        elif os.path.exists(source):
            files.append(source)
        else:
            raise FileNotFoundError("no such file or folder: %s" % source)
    return files


def convert(source, destination=None, mode="bin2col", *, cols="one", numbered=False, last_line="crlf",
            delimiter="blank", decimals=4, selected_cols=None, ext="txt", extension="ASC", mask="*.*",
            overwrite=False):
    """Converts data files as vexaconv does and returns an Outcome per file.

    source: a file or folder (its files matching `mask`), or a list of them. destination: the folder
    for the new files; None puts each beside its source. mode: "bin2col", "bin2full" or "full2bin".
    cols: Full ASCII values per line, "one", "all" or "block"; numbered: numerate the record lines;
    last_line: "nothing", "crlf" or "crlf-eof"; delimiter: "blank", "double-blank", "comma",
    "semicolon", "tab", "tex", "cr", "lf", "crlf", one character or a character code; decimals: digits
    behind the point, 1..12; selected_cols: Col ASCII only these columns (a list or text such as
    "1,36"); ext: the new name is the source name ("data"), + ".TXT" ("txt") or + "." + extension
    ("input"; full2bin always drops the last extension); overwrite: replace existing destinations
    (otherwise they are kept and the file is passed over).
    """
    sources = [source] if isinstance(source, (str, bytes, os.PathLike)) else list(source)
    code = _choice(MODES, mode, "mode")
    options = dict(mode=code, colsPerLine=_choice(COLS, cols, "cols"), numbered=bool(numbered),
                   lastLine=_choice(LAST_LINES, last_line, "last_line"), delimiterCode=_delimiter_code(delimiter),
                   overwrite=bool(overwrite))
    if not isinstance(decimals, int) or not 1 <= decimals <= 12:
        raise ValueError("decimals must be 1..12, not %r" % (decimals,))
    options["decimals"] = -decimals
    if selected_cols is None:
        options.update(onlySelected=False, selectedCols="1,2")
    else:
        text = selected_cols if isinstance(selected_cols, str) else ",".join(str(int(c)) for c in selected_cols)
        if len(text) > 79:
            raise ValueError("selected_cols is longer than 79 characters")
        options.update(onlySelected=True, selectedCols=text)
    ext_choice = _choice(EXTS, ext, "ext")
    if not 1 <= len(extension) <= 3:
        raise ValueError("extension takes 1 to 3 characters, not %r" % (extension,))

    pairs = []
    for file in _files(sources, mask):
        folder = os.fspath(destination) if destination is not None else os.path.dirname(file)
        name = _vexafile.destination_name(code, ext_choice, extension, os.path.basename(file))
        if (code != MODES["full2bin"] and name.upper() == os.path.basename(file).upper()
                and os.path.abspath(folder or ".") == os.path.abspath(os.path.dirname(file) or ".")):
            raise ValueError("source and destination are the same file (%s): the binary file would be "
                             "overwritten; choose a destination folder or ext" % file)
        pairs.append((file, os.path.join(folder, name) if folder else name))
    results = _vexafile.convert_files(pairs, **options)
    return [Outcome(src, dst, r["converted"], r["cut"], r["reason"], r["message"])
            for (src, dst), r in zip(pairs, results)]
