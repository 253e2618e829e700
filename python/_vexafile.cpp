// The C++ side of the vexafile package: a thin binding over the conversion engine's look at a data
// file (convlook), its record reader (convread) and its batch conversion (convbatch); the Python side
// (vexafile/__init__.py) shapes the results. The engine keeps global state (the conversion run, the
// text format, the file operations' fault counter), so every call into it holds one lock; reading
// records needs none. The GIL is released while a file is opened, read or converted.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "convert/convbatch.h"
#include "convert/convcli.h"
#include "convert/convlook.h"
#include "convert/convnames.h"
#include "convert/convread.h"
#include "lib/recfile.h"
#include "lib/strnum.h"

namespace py = pybind11;

namespace {

// A file that cannot be read: vexafile.VexaFileError.
struct FileProblem : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::mutex& EngineLock() {
    static std::mutex lock;
    return lock;
}

// Texts of data files are single-byte text of the measurement program: taken over byte for byte.
py::str Latin1(const std::string& text) {
    return py::reinterpret_steal<py::str>(
        PyUnicode_DecodeLatin1(text.data(), static_cast<Py_ssize_t>(text.size()), nullptr));
}

py::list Fields(const std::vector<LookField>& fields) {
    py::list list;
    for (const LookField& f : fields) list.append(py::make_tuple(f.Name, Latin1(f.Value), f.Number));
    return list;
}

// A writable C-contiguous array of at least `bytes` bytes, or a TypeError.
void* Target(py::array& out, int64_t bytes) {
    if (bytes < 0) throw py::value_error("counts are never negative");
    if (!out.writeable() || !(out.flags() & py::array::c_style) || out.nbytes() < bytes)
        throw py::type_error("the target array must be writable, C-contiguous and large enough");
    return out.mutable_data();
}

// A data file opened for a look; its records are read on request.
class Look {
  public:
    explicit Look(const std::string& path) {
        py::gil_scoped_release release;
        std::lock_guard<std::mutex> lock(EngineLock());
        file_ = std::make_unique<LookFile>();
        file_->Open(path);
        part_ = DataPartOf(*file_);
    }
    ~Look() { Close(); }

    // Removes the scratch file of a Full ASCII source.
    void Close() {
        if (!file_) return;
        py::gil_scoped_release release;
        std::lock_guard<std::mutex> lock(EngineLock());
        file_.reset();
    }

    py::dict Info() const {
        if (!file_) throw py::value_error("the file is closed");
        const DataLook& look = file_->Look();
        py::dict d;
        d["kind"] = look.Kind ? std::string(1, look.Kind) : std::string();
        d["full_ascii"] = look.FullAscii;
        d["variant"] = look.Variant;
        d["identification"] = Latin1(look.Ident);
        d["version"] = look.Version;
        d["attachment"] = look.Attachment;
        d["problem"] = look.Problem;
        d["note"] = look.Note;
        d["cut"] = look.Cut;
        d["x_start"] = look.XStart;
        d["x_step"] = look.XStep;
        d["header"] = Fields(look.Header);
        py::list columns;
        for (int c = 1; c <= look.Columns(); ++c) columns.append(ColumnName(look, c));
        d["columns"] = columns;
        d["reals"] = part_.Reals;
        d["ints"] = part_.Ints;
        d["record_bytes"] = part_.RecordBytes();
        d["records"] = part_.Records;
        d["blocks"] = part_.Blocks;
        d["per_block"] = part_.PerBlock;
        d["header_bytes"] = part_.HeaderBytes;
        return d;
    }

    // Up to count records in the file's bytes into out; the number read.
    int64_t ReadRaw(py::array out, int64_t count) {
        DataPart part = Part();
        auto* target = static_cast<unsigned char*>(Target(out, count * part.RecordBytes()));
        std::string error;
        int64_t got = 0;
        {
            py::gil_scoped_release release;
            RecordReader reader(part);
            if (reader.Open(0, error)) got = reader.Read(target, count);
        }
        if (!error.empty()) throw FileProblem(error);
        return got;
    }

    // Kind A: the whole records of `blocks` blocks from firstBlock on into out, and their headers as
    // bytes; a block whose header is whole counts even without whole records.
    py::tuple ReadBlocks(py::array out, int64_t firstBlock, int64_t blocks) {
        DataPart part = Part();
        if (part.PerBlock == 0) throw py::value_error("only kind A files have blocks");
        if (firstBlock < 0 || blocks < 0) throw py::value_error("blocks count from 0");
        int64_t count = 0;
        for (int64_t b = firstBlock; b < firstBlock + blocks; ++b) count += part.RecordsOfBlock(b);
        auto* target = static_cast<unsigned char*>(Target(out, count * part.RecordBytes()));
        std::string headers(static_cast<size_t>(blocks * part.HeaderBytes), '\0');
        std::string error;
        int64_t got = 0, headersRead = 0;
        {
            py::gil_scoped_release release;
            RecordReader reader(part);
            if (reader.Open(firstBlock, error)) {
                auto* header = reinterpret_cast<unsigned char*>(headers.data());
                for (; headersRead < blocks && reader.ReadHeader(header + headersRead * part.HeaderBytes);
                     ++headersRead)
                    got += reader.Read(target + got * part.RecordBytes(),
                                       part.RecordsOfBlock(firstBlock + headersRead));
            }
        }
        if (!error.empty()) throw FileProblem(error);
        headers.resize(static_cast<size_t>(headersRead * part.HeaderBytes));
        return py::make_tuple(got, py::bytes(headers));
    }

    // Up to count records widened to doubles into out (records by columns); the number read.
    int64_t ReadValues(py::array out, int64_t count) {
        DataPart part = Part();
        if (out.dtype().kind() != 'f' || out.itemsize() != 8) throw py::type_error("float64 array expected");
        auto* target = static_cast<double*>(Target(out, count * (part.Reals + part.Ints) * 8));
        int64_t done = 0;
        std::string error;
        {
            py::gil_scoped_release release;
            RecordReader reader(part);
            // A small buffer of records at a time, so the values are the only large memory taken.
            const int64_t perRun = std::max(1, 65536 / part.RecordBytes());
            std::vector<unsigned char> buffer(static_cast<size_t>(perRun * part.RecordBytes()));
            if (reader.Open(0, error)) {
                while (done < count) {
                    int64_t want = std::min(perRun, count - done);
                    int64_t got = reader.Read(buffer.data(), want);
                    RecordsToDoubles(part, buffer.data(), got, target + done * (part.Reals + part.Ints));
                    done += got;
                    if (got < want) break;
                }
            }
        }
        if (!error.empty()) throw FileProblem(error);
        return done;
    }

    // The fields of one kind A block header, from the bytes ReadBlocks gave.
    py::list BlockHeader(const py::bytes& bytes) const {
        std::string data = bytes;
        if (part_.HeaderBytes == 0 || data.size() != static_cast<size_t>(part_.HeaderBytes))
            throw py::value_error("one whole block header expected");
        return Fields(BlockHeaderFields(part_.Version, reinterpret_cast<const unsigned char*>(data.data())));
    }

  private:
    DataPart Part() const {
        if (!file_) throw py::value_error("the file is closed");
        if (part_.RecordBytes() == 0) throw py::value_error("the file holds no records");
        return part_;
    }
    std::unique_ptr<LookFile> file_;
    DataPart part_;
};

// Converts each (source, destination) pair in one run; a dict per file.
py::list ConvertFiles(const std::vector<std::pair<std::string, std::string>>& pairs, int mode,
                      int colsPerLine, int lastLine, bool numbered, bool onlySelected,
                      const std::string& selectedCols, int delimiterCode, int decimals, bool overwrite) {
    BatchOptions options;
    options.Mode = mode;
    options.ColsPerLine = colsPerLine;
    options.LastLine = lastLine;
    options.Numbered = numbered;
    options.OnlySelected = onlySelected;
    options.SelectedCols = selectedCols;
    options.DelimiterCode = delimiterCode;
    options.Decimals = decimals;
    options.Overwrite = overwrite;
    std::vector<BatchFile> files;
    for (const auto& [source, destination] : pairs) {
        files.emplace_back();
        files.back().Source = source;
        files.back().Destination = destination;
    }
    {
        py::gil_scoped_release release;
        std::lock_guard<std::mutex> lock(EngineLock());
        ConvertBatch(options, files);
    }
    py::list result;
    for (const BatchFile& f : files) {
        py::dict d;
        d["converted"] = f.Converted;
        d["cut"] = f.Cut;
        d["reason"] = f.Converted ? std::string() : std::string(OutcomeText(f.Outcome));
        d["message"] = Latin1(f.Message);
        result.append(d);
    }
    return result;
}

} // namespace

PYBIND11_MODULE(_vexafile, m) {
    m.doc() = "The conversion engine of VEXA's measurement files (use the vexafile package).";
    ResetTextFormatSettings();
    ResetFieldLine();
    ResetConversionState();
    py::register_exception<FileProblem>(m, "VexaFileError");

    py::class_<Look>(m, "Look")
        .def(py::init<const std::string&>())
        .def("close", &Look::Close)
        .def("info", &Look::Info)
        .def("read_raw", &Look::ReadRaw)
        .def("read_blocks", &Look::ReadBlocks)
        .def("read_values", &Look::ReadValues)
        .def("block_header", &Look::BlockHeader);
    m.def("convert_files", &ConvertFiles, py::arg("pairs"), py::arg("mode"), py::arg("colsPerLine"),
          py::arg("lastLine"), py::arg("numbered"), py::arg("onlySelected"), py::arg("selectedCols"),
          py::arg("delimiterCode"), py::arg("decimals"), py::arg("overwrite"));
    m.def("mask_matches", &MaskMatches);
    m.def("destination_name",
          [](int mode, int extChoice, const std::string& extension, const std::string& name) {
              return DestinationName(mode, extChoice, extension, name);
          });
}
