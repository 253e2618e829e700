"""VEXA's measurement files straight into numpy and pandas, on the engine of vexaconv.

    import vexafile
    f = vexafile.open("MEAS.P01")      # binary or Full ASCII, every kind and format version
    f.kind, f.version, f.header["XStep"], f.columns
    f.to_numpy()                       # float64, records by columns
    f.records()                        # structured array in the file's own types (float32, int16)
    f.to_pandas()                      # a DataFrame with the column names (kind Y indexed by x)
    vexafile.convert("data/", "ascii/", mode="bin2full", cols="all")

A Full ASCII file is read back through the converter's own reader, so what Python sees is what
converting it back would give. A cut file gives its whole records with a CutFileWarning; a file that
is no data file raises VexaFileError.
"""

import os
import warnings

import numpy as np

from . import _vexafile
from ._convert import Outcome, convert
from ._vexafile import VexaFileError

VexaFileError.__module__ = __name__
VexaFileError.__doc__ = "The file is no data file, or cannot be read; the message says why."

__all__ = ["open", "convert", "VexaFile", "Block", "Outcome", "VexaFileError", "CutFileWarning"]


class CutFileWarning(UserWarning):
    """The file ends inside its headers, a record or a block: only its whole records are read."""


def _fields(fields):
    """Header fields as a dict: texts as str, reals as float, ints and words as int."""
    def value(name, text):
        if name.startswith("Text"):
            return text
        if name.startswith("Real") or name == "XStep":
            return float(text)
        return int(text)
    return {name: value(name, text) for name, text, _ in fields}


class Block:
    """One block of a kind A file: its header's fields and its records."""

    def __init__(self, number, header, records):
        self.number = number    # from 1
        self.header = header    # the block header's fields by name ("Text 1", "Int 1", "Real 1", ...)
        self.records = records  # structured array in the file's own types

    def to_numpy(self):
        """The block's values as a float64 array, records by columns."""
        return _widen(self.records)

    def __repr__(self):
        return "<vexafile.Block %d: %d records>" % (self.number, len(self.records))


def _widen(records):
    out = np.empty((len(records), len(records.dtype.names)), dtype=np.float64)
    for c, name in enumerate(records.dtype.names):
        out[:, c] = records[name]
    return out


class VexaFile:
    """A data file opened with vexafile.open(): what vexaconv --info shows, and the data."""

    def __init__(self, path):
        self.path = os.fspath(path)
        self._look = _vexafile.Look(os.fsencode(self.path))
        info = self._look.info()
        if info["problem"]:
            self._look.close()
            raise VexaFileError("%s: %s" % (self.path, info["problem"]))
        self.kind = info["kind"]
        self.form = "Full ASCII" if info["full_ascii"] else "binary"
        self.variant = info["variant"]  # the Full ASCII variant 1..5; 0 for binary
        self.version = info["version"]
        self.identification = info["identification"]
        self.attachment = info["attachment"]
        self.cut = info["cut"]
        self.note = info["note"]  # what cannot be read (the data of versions below 17)
        self.header = _fields(info["header"])
        self.columns = info["columns"]
        self.record_count = info["records"]  # whole records (kind A: over all blocks)
        self.block_count = info["blocks"]  # kind A: blocks whose header is whole
        self.records_per_block = info["per_block"]
        self._x_start = info["x_start"]
        self._x_step = info["x_step"]
        self._dtype = np.dtype([(name, "<f4") for name in self.columns[: info["reals"]]] +
                               [(name, "<i2") for name in self.columns[info["reals"]:]])

    def close(self):
        """Lets go of the file (and of the scratch file a Full ASCII source was read into)."""
        self._look.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def __repr__(self):
        return "<vexafile.VexaFile %r: kind %s, %s, version %d, %d records%s>" % (
            self.path, self.kind, self.form, self.version, self.record_count, ", cut" if self.cut else "")

    def _has_data(self):
        if self.note:
            raise VexaFileError("%s: %s" % (self.path, self.note))

    def _short(self, got, wanted):
        if got < wanted:
            warnings.warn("%s got shorter while it was read: %d of %d records" % (self.path, got, wanted),
                          CutFileWarning, stacklevel=3)

    def records(self):
        """All records in the file's own types (float32 reals, int16 ints), read in one pass."""
        self._has_data()
        out = np.empty(self.record_count, dtype=self._dtype)
        got = self._look.read_raw(out, self.record_count)
        self._short(got, self.record_count)
        return out[:got]

    def to_numpy(self):
        """All values as a float64 array of records by columns."""
        self._has_data()
        out = np.empty((self.record_count, len(self.columns)), dtype=np.float64)
        got = self._look.read_values(out, self.record_count)
        self._short(got, self.record_count)
        return out[:got]

    @property
    def x(self):
        """Kind Y: the x axis, x = (XStart + i) * XStep for the value with index i."""
        if self.kind != "Y":
            raise AttributeError("only kind Y files have an x axis")
        return (self._x_start + np.arange(self.record_count, dtype=np.float64)) * self._x_step

    def blocks(self):
        """Kind A: every block, read in one pass."""
        return self._blocks(0, self.block_count)

    def block(self, number):
        """Kind A: block `number`, counted from 1."""
        if not 1 <= number <= self.block_count:
            raise IndexError("%s has blocks 1 to %d" % (self.path, self.block_count))
        return self._blocks(number - 1, 1)[0]

    def _blocks(self, first, count):
        if self.kind != "A":
            raise VexaFileError("%s: only kind A files have blocks" % self.path)
        self._has_data()
        per = self.records_per_block
        sizes = [max(0, min(per, self.record_count - b * per)) for b in range(first, first + count)]
        out = np.empty(sum(sizes), dtype=self._dtype)
        got, headers = self._look.read_blocks(out, first, count)
        self._short(got, len(out))
        size = len(headers) // count if count else 0
        blocks, start = [], 0
        for i in range(len(headers) // size if size else 0):
            header = _fields(self._look.block_header(headers[i * size:(i + 1) * size]))
            blocks.append(Block(first + i + 1, header, out[start:min(start + sizes[i], got)]))
            start += sizes[i]
        return blocks

    def to_pandas(self):
        """A DataFrame of the records with the column names, in the file's own types: kind Y indexed
        by x, kind A by block and record, the other kinds by record number (from 1)."""
        import pandas as pd

        records = self.records()
        if self.kind == "Y":
            index = pd.Index(self.x[: len(records)], name="x")
        elif self.kind == "A":
            n = np.arange(len(records))
            index = pd.MultiIndex.from_arrays([n // self.records_per_block + 1, n % self.records_per_block + 1],
                                              names=["block", "record"])
        else:
            index = pd.RangeIndex(1, len(records) + 1, name="record")
        return pd.DataFrame(records, index=index)


def open(path):
    """Opens a data file of any kind, binary or Full ASCII. Raises VexaFileError when it is no data
    file (the reason says why); warns with CutFileWarning when it is cut."""
    f = VexaFile(path)
    if f.cut:
        warnings.warn("%s is cut: only its %d whole records are read" % (f.path, f.record_count),
                      CutFileWarning, stacklevel=2)
    return f
