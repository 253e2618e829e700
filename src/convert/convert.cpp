// The conversion run: ConvSetup, and ConvertFile's steps from the kind letter to the closed files.
#include "convert/convert.h"

#include <cstring>

#include "convert/convert_detail.h"
#include "convert/convnames.h"
#include "lib/fs.h"
#include "lib/msg.h"
#include "ui/prompter.h"
#include "lib/strnum.h"

using convdetail::Job;

ConversionStateRecord ConversionState;

void ResetConversionState() {
    ConversionState = ConversionStateRecord();
}

// ---- Identification --------------------------------------------------------------------------------

namespace {

// The older numbering: two-digit codes, and for the last of them three-digit codes.
struct VersionRange {
    int Low, High, Version;
};
constexpr VersionRange OldCodes[] = {{12, 12, 9}, {13, 13, 10}, {20, 20, 11}, {30, 34, 12}};
constexpr VersionRange OldLongCodes[] = {{340, 342, 16}, {343, 344, 17}, {345, 347, 18}, {348, 349, 19}};

template <size_t N> int Translate(int code, const VersionRange (&table)[N], bool offset) {
    for (const VersionRange& r : table)
        if (code >= r.Low && code <= r.High) return r.Version + (offset ? code - r.Low : 0);
    return 8;
}

int Number(std::string_view ident, int start, int count) {
    if (ident.size() < static_cast<size_t>(start + count)) return 0;
    return TextToInt(ident.substr(start, count));
}

} // namespace

int IdentVersion(std::string_view ident) {
    int version = Number(ident, 8, 2);
    if (ident.size() > 2 && (ident[2] == '1' || ident[2] == '2')) {
        version = Translate(version, OldCodes, true);
        if (version >= 16) version = Translate(Number(ident, 8, 3), OldLongCodes, false);
    }
    return version;
}

bool IdentAccepted(std::string_view ident, bool binary) {
    if (ident.size() != IdentLength || ident.find('\0') != std::string_view::npos) return false;
    if (ident[0] != 'S' || ident[1] != 'W') return false;
    return binary ? ident[11] == '0' : ident[11] >= '1' && ident[11] <= '5';
}

bool IdentHasAttachment(std::string_view ident) {
    return Number(ident, 26, 3) != 0;
}

// ---- Run set-up --------------------------------------------------------------------------------------

void ConvSetup(int mode, int colsPerLine, int lastLine, bool numbered, bool onlySelected,
               std::string_view selectedCols) {
    ConversionStateRecord& st = ConversionState;
    st.Mode = IntClamp(mode, ModeFullToBin, ModeBinToCol);
    st.OnlySelected = false;
    if (st.Mode == ModeFullToBin) {
        st.Variant = 0;
    } else if (st.Mode == ModeBinToFull) {
        st.Variant = colsPerLine == 2 ? 2 : colsPerLine == 3 ? 3 : 1;
        if (numbered && st.Variant > 1) st.Variant += 2;
    } else {
        st.Variant = numbered ? 4 : 2;
        st.OnlySelected = onlySelected;
    }
    st.LastLine = lastLine;

    int code = TextFormatSettings.DelimiterCode;
    st.Delimiter = DelimiterText(code == 17 ? 59 : code == 18 ? 9 : code);

    std::memset(st.Selected, 0, sizeof st.Selected);
    TextBuf<79> list;
    list.Set(selectedCols);
    for (;;) {
        int column = TokenToInt(list.c, list.Cap);
        if (column < 1 || column > MaxColumn) break;
        st.Selected[column] = true;
    }
    st.CheckFolders = true;
    st.OverwriteAll = false;
}

// ---- One file ----------------------------------------------------------------------------------------

namespace {

// The folders of the run's first file: the source folder must exist; a missing destination folder is
// made after the user agrees. False stops the run.
bool CheckFolders(std::string_view source, std::string_view destination) {
    std::string sourceDir = FolderOf(source);
    if (!sourceDir.empty() && !DirExists(sourceDir)) {
        ShowDirMissing(sourceDir);
        return false;
    }
    std::string destDir = FolderOf(destination);
    if (destDir.empty() || DirExists(destDir)) return true;
    if (!AskCreateDir(destDir)) return false;
    FsError error = ForceDir(destDir, 0);
    if (error != FsOk && !DirExists(destDir)) {
        ShowFileError(destDir, error);
        return false;
    }
    return true;
}

// Reads and checks the identification (the first 40 bytes, or the first line of a Full ASCII file).
ConvOutcome ReadIdent(Job& job) {
    std::string_view ident;
    bool whole = true; // the source goes on after its identification
    if (job.Mode == ModeFullToBin) {
        if (!job.Lines->Next()) return ConvOutcome::NotAccepted;
        ident = job.Lines->Line().substr(0, IdentLength);
        whole = ident.size() == IdentLength || !job.Lines->AtDataEnd();
    } else {
        ReadBytes(job.Src, job.Ident, IdentLength); // a short read keeps the bytes that came
        whole = !Failed(job.Src);
        ident = std::string_view(job.Ident, whole ? IdentLength : std::strlen(job.Ident));
        job.SourceBytes = IdentLength;
    }
    if (!IdentAccepted(ident, job.Mode != ModeFullToBin)) {
        bool dataFile = ident.size() >= 2 && ident[0] == 'S' && ident[1] == 'W';
        return !whole && dataFile ? ConvOutcome::HeaderCut : ConvOutcome::NotAccepted;
    }
    std::memcpy(job.Ident, ident.data(), IdentLength);
    job.Version = IdentVersion(ident);
    bool minimum = job.Mode != ModeBinToCol || job.Kind == 'A';
    if (minimum && job.Version < 17) return ConvOutcome::OldVersion;
    job.Variant = job.Mode == ModeFullToBin ? ident[11] - '0' : ConversionState.Variant;
    return ConvOutcome::Converted;
}

// The overwrite question; Converted means go on.
ConvOutcome AskOverwrite(std::string_view destination, bool ask, bool& abortRun) {
    ConversionStateRecord& st = ConversionState;
    if (!ask || st.OverwriteAll || !FileExists(destination)) return ConvOutcome::Converted;
    int answer = ShowLines(ui::BtnYesNoCancelAll | ui::IconWarning, destination,
                           {"File already exist!", "Override file(s)?"});
    switch (answer) {
    case ui::IdYes:
        return ConvOutcome::Converted;
    case ui::IdAll:
        st.OverwriteAll = true;
        return ConvOutcome::Converted;
    case ui::IdCancel:
        abortRun = true;
        return ConvOutcome::RunAborted;
    default:
        return ConvOutcome::Declined;
    }
}

// The identification line or bytes of the destination.
void WriteIdent(Job& job) {
    if (job.Mode == ModeFullToBin) {
        job.Ident[11] = '0';
        WriteBytes(job.Dst, job.Ident, IdentLength);
    } else if (job.Mode == ModeBinToFull) {
        job.Ident[11] = static_cast<char>('0' + job.Variant);
        WriteLine(job.Dst, job.Ident, IdentLength - 1);
    }
}

void WriteLastLine(Job& job) {
    int lastLine = ConversionState.LastLine;
    if (job.Mode == ModeFullToBin || (lastLine != LastLineEnd && lastLine != LastLineEndEof)) return;
    WriteText(job.Dst, TextFormatSettings.LineEnd, 1);
    if (lastLine == LastLineEndEof) {
        const char eof = 26;
        WriteBytes(job.Dst, &eof, 1);
    }
}

bool SamePath(std::string_view a, std::string_view b) {
#ifdef _WIN32
    return SameText(a, b);
#else
    return a == b;
#endif
}

} // namespace

ConvOutcome ConvertFile(std::string_view source, std::string_view destination, bool ask, bool& abortRun,
                        bool& converted) {
    ConversionStateRecord& st = ConversionState;
    abortRun = false;
    converted = false;
    st.SourceCut = false;
    char kind = KindLetter(source);
    if (!IsDataKind(kind)) return ConvOutcome::UnknownKind;
    if (st.CheckFolders) {
        st.CheckFolders = false;
        if (!CheckFolders(source, destination)) {
            abortRun = true;
            return ConvOutcome::RunAborted;
        }
    }
    // Names alone miss other spellings of one file ("MEAS.K01." and short names open the source
    // itself), so an existing destination is compared by identity too.
    if (SamePath(source, destination) || SameFile(source, destination)) return ConvOutcome::SameFile;

    Job job;
    job.Mode = st.Mode;
    job.Kind = kind;
    bool failed = false;
    OpenRead(job.Src, source, failed);
    if (failed) return ConvOutcome::Unreadable;
    if (job.Mode == ModeFullToBin) {
        job.Src.Mode = 1;
        job.Lines = std::make_unique<convdetail::LineSource>(job.Src);
    }
    // Nothing touches the destination before the source has shown itself to be a data file.
    ConvOutcome outcome = ReadIdent(job);
    if (outcome == ConvOutcome::Converted) outcome = AskOverwrite(destination, ask, abortRun);
    if (outcome != ConvOutcome::Converted) return outcome;
    // The destination is written beside itself and takes its name only once converted, so a file that
    // fails (cut in its headers, a full disk) never costs an existing destination.
    CreateWrite(job.Dst, destination, failed);
    if (failed) return ConvOutcome::Uncreatable;
    if (job.Mode != ModeFullToBin) job.Dst.Mode = 1;

    WriteIdent(job);
    bool headerDone = job.Mode == ModeBinToCol ? convdetail::SkipHeader(job) : convdetail::CopyHeader(job);
    if (headerDone) {
        if (job.Version >= 17) {
            st.FirstRecord = true;
            convdetail::ConvertData(job);
        }
        WriteLastLine(job);
    }
    Close(job.Src, failed);
    if (!headerDone) {
        Discard(job.Dst);
        outcome = ConvOutcome::HeaderCut;
    } else {
        Close(job.Dst, failed);
        outcome = failed ? ConvOutcome::WriteFailed : ConvOutcome::Converted;
    }
    converted = outcome == ConvOutcome::Converted;
    return outcome;
}

const char* OutcomeText(ConvOutcome outcome) {
    switch (outcome) {
    case ConvOutcome::Converted:
        return "converted";
    case ConvOutcome::UnknownKind:
        return "unknown kind";
    case ConvOutcome::Unreadable:
        return "cannot be opened";
    case ConvOutcome::NotAccepted:
        return "not accepted (no data file identification)";
    case ConvOutcome::OldVersion:
        return "format version below 17";
    case ConvOutcome::HeaderCut:
        return "file ends inside its header";
    case ConvOutcome::Uncreatable:
        return "destination cannot be created";
    case ConvOutcome::WriteFailed:
        return "destination could not be written completely";
    case ConvOutcome::SameFile:
        return "source and destination are the same file";
    case ConvOutcome::Declined:
        return "destination exists, not overwritten";
    case ConvOutcome::RunAborted:
        return "run stopped";
    }
    return "";
}

// ---- Line source and progress --------------------------------------------------------------------

namespace convdetail {

LineSource::LineSource(RecordFile& file)
    : file_(file), line_(std::make_unique<char[]>(LineCap + 1)),
      held_(std::make_unique<char[]>(LineCap + 1)) {}

int LineSource::ReadInto(char* buf) {
    if (ended_) return -1;
    int len = ReadLine(file_, buf, LineCap, false);
    if (Failed(file_)) return -1;
    ended_ = file_.EndedBy == 26;
    bytes_ += len + 1;
    return len;
}

bool LineSource::Next() {
    if (pendingEmpty_ > 0) {
        --pendingEmpty_;
        lineLen_ = 0;
        return true;
    }
    if (hasHeld_) {
        std::swap(line_, held_);
        lineLen_ = heldLen_;
        hasHeld_ = false;
        return true;
    }
    int len = ReadInto(line_.get());
    lineLen_ = len < 0 ? 0 : len;
    return len >= 0;
}

bool LineSource::AtDataEnd() {
    if (hasHeld_) return false;
    for (;;) {
        int len = ReadInto(held_.get());
        if (len < 0) return true;
        if (len > 0) {
            heldLen_ = len;
            hasHeld_ = true;
            return false;
        }
        ++pendingEmpty_;
    }
}

void Job::Report() {
    ConversionStateRecord& st = ConversionState;
    int64_t done = Lines ? Lines->BytesRead() : SourceBytes;
    if (!st.Progress || done < NextReport) return;
    NextReport = done + (1 << 20);
    st.Progress(st.ProgressContext, done);
}

} // namespace convdetail
