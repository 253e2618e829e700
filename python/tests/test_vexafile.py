"""vexafile against vexaconv: the arrays of every kind and header layout, Full ASCII read back, cut and
rejected files, and convert() byte for byte."""

import os
import re
import warnings

import numpy as np
import pytest

import vexafile

LAYOUTS = {"new": ["-v", "20"], "old": ["-v", "18", "--old-numbering", "--attachment", "--long-t"]}
INDEX = {"Y": ["x"], "A": ["block", "record"]}


@pytest.mark.parametrize("layout", LAYOUTS)
@pytest.mark.parametrize("kind", "KYPTVAQ")
def test_arrays_equal_vexaconv_text_and_full_ascii(tools, tmp_path, kind, layout):
    binary = tools.make(tmp_path / ("MEAS.%s01" % kind), "-k", kind, "-n", "7", *LAYOUTS[layout])
    tools.conv("--decimals", "12", binary)
    text = np.loadtxt(binary + ".TXT", ndmin=2)
    f = vexafile.open(binary)
    records, values = f.records(), f.to_numpy()
    assert values.shape == (f.record_count, len(f.columns)) == (len(records), len(records.dtype))
    for c, name in enumerate(f.columns):
        assert np.array_equal(values[:, c], records[name])
    if kind == "Y":
        np.testing.assert_allclose(text[:, 0], f.x, rtol=1e-12)
        text = text[:, 1:]
    if kind == "A":  # Col ASCII leaves out the records whose first value is below 1.1
        values = values[values[:, 0] >= 1.1]
        blocks = f.blocks()
        assert len(blocks) == f.block_count == 7 and f.block(3).header == blocks[2].header
        assert np.array_equal(np.concatenate([b.records for b in blocks]), records)
    # 13 significant digits give every single back exactly.
    assert np.array_equal(text.astype(np.float32), values.astype(np.float32))
    frame = f.to_pandas()
    assert list(frame.columns) == f.columns and len(frame) == len(records)
    assert frame.index.names == INDEX.get(kind, ["record"])

    for cols in (["one"], ["all", "--numbered"], ["block", "--numbered", "--delimiter", "tab"]):
        tools.conv("-m", "bin2full", "--decimals", "12", "--ext", "input", "--extension", "FUL", "--cols", *cols,
                   binary)
        full = vexafile.open(binary + ".FUL")
        assert (full.form, full.variant > 0, full.cut) == ("Full ASCII", True, False)
        assert np.array_equal(full.records(), records)
        assert full.header == pytest.approx(f.header, rel=1e-4)  # header reals carry 5 digits


@pytest.mark.parametrize("kind, args, full", [("K", [], False), ("A", ["-v", "18"], False), ("K", [], True)])
def test_every_cut_gives_the_whole_records_and_warns(tools, tmp_path, kind, args, full):
    whole = tools.make(tmp_path / ("W.%s01" % kind), "-k", kind, "-n", "2", *args)
    if full:
        tools.conv("-m", "bin2full", "--cols", "all", "--decimals", "12", whole)
        whole += ".TXT"
    original = vexafile.open(whole).records()
    data = open(whole, "rb").read()
    cut = tmp_path / os.path.basename(whole).replace("W.", "C.")
    for size in range(len(data)):
        cut.write_bytes(data[:size])
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always")
            try:
                f = vexafile.open(cut)
            except vexafile.VexaFileError:
                assert full or size < 40, size  # a binary file is refused only inside its identification
                continue
            got = f.records()
        assert f.cut == any(w.category is vexafile.CutFileWarning for w in caught), size
        assert len(got) == f.record_count <= len(original), size
        # A cut text value reads as another number: only the last record read may differ.
        whole_records = max(0, len(got) - 1) if full else len(got)
        assert np.array_equal(got[:whole_records], original[:whole_records]), size
    assert len(got) >= len(original) - 1


@pytest.mark.parametrize("name, args, problem", [
    ("NOTES.K01", None, "not a data file"),
    ("MEAS.DAT", ["-k", "K"], "unknown kind"),
    ("GONE.K01", "", "cannot be opened"),
    ("OLD.P01", ["-k", "P", "-v", "16"], "versions below 17"),
])
def test_files_that_cannot_be_read_raise_with_the_reason(tools, tmp_path, name, args, problem):
    path = tmp_path / name
    if args is None:
        path.write_text("Notes of the sweep, not measured\r\n")
    elif args:
        tools.make(path, *args)
    with pytest.raises(vexafile.VexaFileError, match=problem):
        vexafile.open(path).to_numpy()  # a version 16 file opens: only its data cannot be read


CONVERSIONS = [  # vexafile.convert keywords and vexaconv's options for the same
    ({}, []),
    (dict(mode="bin2full", cols="all", numbered=True, last_line="nothing"),
     ["-m", "bin2full", "--cols", "all", "--numbered", "--last-line", "nothing"]),
    (dict(mode="bin2full", cols="block", delimiter="tab", decimals=7, last_line="crlf-eof"),
     ["-m", "bin2full", "--cols", "block", "--delimiter", "tab", "--decimals", "7", "--last-line", "crlf-eof"]),
    (dict(selected_cols=[1, 36], delimiter=";", numbered=True, ext="input", extension="CSV"),
     ["--only-selected", "--selected-cols", "1,36", "--delimiter", ";", "--numbered", "--ext", "input",
      "--extension", "CSV"]),
]


def vexaconv_outcomes(lines):
    """(status, reason, file name) of each file vexaconv names."""
    outcomes = []
    for line in lines:
        if m := re.match(r"converted (\S+) -> \S+( +\(cut short)?", line):
            outcomes.append(("cut" if m[2] else "converted", "", os.path.basename(m[1])))
        elif m := re.match(r"passed over (\S+?): (.*)$", line):
            outcomes.append(("passed over", m[2], os.path.basename(m[1])))
    return outcomes


@pytest.mark.parametrize("keywords, args", CONVERSIONS)
def test_convert_writes_what_vexaconv_writes(tools, tmp_path, keywords, args):
    data = tmp_path / "data"
    data.mkdir()
    for kind, extra in [("P", []), ("Y", ["-v", "18"]), ("A", ["-n", "2"]), ("K", ["--cut", "3"])]:
        tools.make(data / ("MEAS.%s01" % kind), "-k", kind, *extra)
    (data / "NOTES.TXT").write_text("not measured")
    (data / "NOTES.DOC").write_text("not measured")
    steps = [(data, data, "py", "vc", keywords, args)]
    if keywords.get("mode") == "bin2full":  # and back
        steps.append((tmp_path / "py", tmp_path / "vc", "pyback", "vcback", dict(mode="full2bin"), ["-m", "full2bin"]))
    for source, their_source, dest, their_dest, kw, options in steps:
        mine = vexafile.convert(source, tmp_path / dest, **kw)
        theirs = vexaconv_outcomes(tools.conv(*options, "-d", tmp_path / their_dest, their_source))
        assert [(o.status, o.reason, os.path.basename(o.source)) for o in mine] == theirs
        for o in mine:
            assert os.path.exists(o.destination) == o.converted
            if o.converted:
                with open(o.destination, "rb") as a, open(tmp_path / their_dest / os.path.basename(o.destination), "rb") as b:
                    assert a.read() == b.read(), o.destination
