// Record files over the file primitives, with a read-ahead / write-behind buffer that callers never
// see: each transfer sets ErrorCode and Failed as a direct system call would have.
#include "lib/recfile.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

using recfile_detail::BufferSize;

TextBuf<127> FieldLine;

void ResetFieldLine() {
    FieldLine = TextBuf<127>();
}

namespace {

void SetError(RecordFile& f, int32_t code) {
    f.ErrorCode = code;
    if (code > 0) f.Failed = true;
}

void ClearError(RecordFile& f) {
    f.ErrorCode = 0;
    f.Failed = false;
}

void Start(RecordFile& f, std::string_view name, bool writing, bool& failed) {
    if (f.Handle != NoFile) {
        bool ignored;
        Close(f, ignored);
    }
    if (!f.Io.Data) f.Io.Data = std::make_unique<char[]>(BufferSize);
    f.Io.Pos = f.Io.End = 0;
    f.Name.Set(name);
    FsError error = FsNameTooLong;
    f.Handle = NoFile;
    // Close puts a written file in place under Name: a name it cannot hold whole is not written at all.
    if (!writing)
        f.Handle = OpenFile(name, FileAccess::Read, ShareRead, error);
    else if (name.size() <= static_cast<size_t>(f.Name.Cap))
        f.Handle = CreateTempBeside(name, f.Temp, error);
    f.Mode = 0;
    f.Writing = writing;
    f.ErrorCode = error;
    f.Failed = error > 0;
    failed = f.Failed;
}

// Writes what is pending; a failure becomes the file's error.
void Flush(RecordFile& f) {
    int pending = f.Io.Pos;
    f.Io.Pos = 0;
    if (pending <= 0 || f.ErrorCode > 0) return;
    FsError error;
    WriteBlock(f.Handle, f.Io.Data.get(), pending, error);
    if (error != FsOk) SetError(f, error);
}

// Refills the empty read buffer; false at the end of the file (ErrorCode 13) or on an error.
bool Fill(RecordFile& f) {
    if (f.Handle == NoFile) {
        SetError(f, FsInvalidHandle);
        return false;
    }
    if (f.Writing) { // the handle was opened for writing only; what was written before still counts
        Flush(f);
        if (f.ErrorCode <= 0) SetError(f, FsAccessDenied);
        return false;
    }
    f.Io.Pos = f.Io.End = 0;
    FsError error;
    int got = ReadBlock(f.Handle, f.Io.Data.get(), BufferSize, error);
    if (got > 0) {
        f.Io.End = got;
        return true;
    }
    SetError(f, error != FsOk ? error : RecShortRead);
    return false;
}

// Reads n bytes into dst (nullptr: discards them).
void ReadRaw(RecordFile& f, char* dst, int n) {
    if (f.ErrorCode > 0) return;
    while (n > 0) {
        int avail = f.Writing ? 0 : f.Io.End - f.Io.Pos; // a writer's buffer holds pending output
        if (avail == 0) {
            if (dst && n >= BufferSize && f.Handle != NoFile && !f.Writing) {
                FsError error;
                int got = ReadBlock(f.Handle, dst, n, error); // large reads skip the copy
                if (got < n) SetError(f, error != FsOk ? error : RecShortRead);
                return;
            }
            if (!Fill(f)) return;
            avail = f.Io.End;
        }
        int take = avail < n ? avail : n;
        if (dst) {
            std::memcpy(dst, f.Io.Data.get() + f.Io.Pos, take);
            dst += take;
        }
        f.Io.Pos += take;
        n -= take;
    }
}

// True when the n bytes arrived; the caller's variable is then set. The few bytes of a number are
// usually there in the buffer and are taken without ReadRaw's loop.
bool ReadExact(RecordFile& f, void* dst, int n) {
    if (f.ErrorCode > 0) return false;
    if (!f.Writing && f.Io.End - f.Io.Pos >= n) {
        std::memcpy(dst, f.Io.Data.get() + f.Io.Pos, static_cast<size_t>(n));
        f.Io.Pos += n;
        return true;
    }
    ReadRaw(f, static_cast<char*>(dst), n);
    return f.ErrorCode <= 0;
}

void WriteRaw(RecordFile& f, const char* src, int n) {
    if (f.ErrorCode > 0 || n <= 0) return;
    if (f.Handle == NoFile) {
        SetError(f, FsInvalidHandle);
        return;
    }
    if (!f.Writing) { // the handle was opened for reading only
        SetError(f, FsAccessDenied);
        return;
    }
    while (n > 0) {
        if (f.Io.Pos == 0 && n >= BufferSize) {
            FsError error;
            WriteBlock(f.Handle, src, n, error);
            if (error != FsOk) SetError(f, error);
            return;
        }
        int take = BufferSize - f.Io.Pos < n ? BufferSize - f.Io.Pos : n;
        std::memcpy(f.Io.Data.get() + f.Io.Pos, src, take);
        f.Io.Pos += take;
        src += take;
        n -= take;
        if (f.Io.Pos == BufferSize) {
            Flush(f);
            if (f.ErrorCode > 0) return;
        }
    }
}

// The few bytes of a number, put straight into the buffer when they fit without filling it; WriteRaw
// otherwise.
void WriteSmall(RecordFile& f, const char* src, int n) {
    if (f.ErrorCode <= 0 && f.Writing && f.Handle != NoFile && BufferSize - f.Io.Pos > n) {
        std::memcpy(f.Io.Data.get() + f.Io.Pos, src, static_cast<size_t>(n));
        f.Io.Pos += n;
        return;
    }
    WriteRaw(f, src, n);
}

void WriteZeros(RecordFile& f, int n) {
    static const char zeros[256] = {};
    while (n > 0 && f.ErrorCode <= 0) {
        int take = n < 256 ? n : 256;
        WriteRaw(f, zeros, take);
        n -= take;
    }
}

void WriteView(RecordFile& f, std::string_view s) {
    WriteRaw(f, s.data(), static_cast<int>(s.size()));
}

void WriteLineEnd(RecordFile& f) {
    WriteRaw(f, TextFormatSettings.LineEnd, 2);
}

// Where the first line end (LF, CR or character 26) of data[pos, end) is, end when there is none;
// nul tells whether a NUL comes before it. Eight bytes at a time: (v - c c c ...) & ~v flags, in the
// top bit of each byte, every byte below c that has no such byte below it, and no byte that has not
// (a false flag needs a borrow from a lower byte below c). So a word without any byte below 32 is
// passed over at once, and in the others a line end is a zero byte of w ^ (c c c ...) for c = 10,
// 13 or 26, the lowest flagged zero being a real one.
int FindLineEnd(const char* data, int pos, int end, bool& nul) {
    nul = false;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t Ones = 0x0101010101010101u;
        constexpr uint64_t Highs = 0x8080808080808080u;
        auto zeros = [](uint64_t v) { return (v - Ones) & ~v & Highs; };
        for (; end - pos >= 8; pos += 8) {
            uint64_t w;
            std::memcpy(&w, data + pos, 8);
            if (((w - Ones * 32) & ~w & Highs) == 0) continue; // no control character
            uint64_t ends = zeros(w ^ (Ones * 10)) | zeros(w ^ (Ones * 13)) | zeros(w ^ (Ones * 26));
            uint64_t nuls = zeros(w);
            if (ends != 0) {
                nul = nul || (nuls & ((ends & (0 - ends)) - 1)) != 0;
                return pos + std::countr_zero(ends) / 8;
            }
            nul = nul || nuls != 0;
        }
    }
    for (; pos < end; ++pos) {
        char c = data[pos];
        if (c == 10 || c == 13 || c == 26) break;
        nul = nul || c == 0;
    }
    return pos;
}

// After a CR an LF right behind it belongs to it; any other byte begins the next line. The end of the
// file there is no error.
void SkipPartnerLf(RecordFile& f) {
    if (f.Io.Pos == f.Io.End && !Fill(f)) {
        if (f.ErrorCode == RecShortRead) ClearError(f);
        return;
    }
    if (f.Io.Data[f.Io.Pos] == 10) ++f.Io.Pos;
}

void AppendField(std::string_view text) {
    char* line = FieldLine.c;
    int len = FieldLine.Len();
    if (len > 0 && len <= 127) line[len++] = ';';
    for (char c : text) {
        if (len > 127) break;
        line[len++] = c;
    }
    if (len <= 127) line[len] = 0;
}

void NextField(char* field, int n) {
    BufSplitAt(';', FieldLine.c, 127, field, n);
}

std::string_view Cut1023(std::string_view s) {
    return s.substr(0, s.size() < 1023 ? s.size() : 1023);
}

} // namespace

RecordFile::~RecordFile() {
    if (Handle != NoFile) Discard(*this);
}

// ---- Opening and state ----------------------------------------------------------------------------

void OpenRead(RecordFile& f, std::string_view name, bool& failed) {
    Start(f, name, false, failed);
}

void CreateWrite(RecordFile& f, std::string_view name, bool& failed) {
    Start(f, name, true, failed);
}

void Close(RecordFile& f, bool& failed) {
    if (f.Writing) Flush(f);
    int32_t writeError = f.Writing ? f.ErrorCode : 0; // a failed write is reported, not forgotten
    FsError error = CloseFile(f.Handle);
    f.Handle = NoFile;
    f.Io.Pos = f.Io.End = 0;
    f.ErrorCode = writeError > 0 ? writeError : error;
    if (!f.Temp.empty()) {
        if (f.ErrorCode <= 0) f.ErrorCode = PutFileInPlace(f.Temp, f.Name.View());
        if (f.ErrorCode > 0) DiscardTemp(f.Temp);
        f.Temp.clear();
    }
    f.Failed = f.ErrorCode > 0;
    failed = f.Failed;
}

void Discard(RecordFile& f) {
    if (f.Handle != NoFile) CloseFile(f.Handle);
    f.Handle = NoFile;
    f.Io.Pos = f.Io.End = 0;
    if (!f.Temp.empty()) DiscardTemp(f.Temp);
    f.Temp.clear();
}

void ReadBytes(RecordFile& f, void* buffer, int n) {
    ReadRaw(f, static_cast<char*>(buffer), n);
}

void WriteBytes(RecordFile& f, const void* buffer, int n) {
    WriteRaw(f, static_cast<const char*>(buffer), n);
}

void SkipBytes(RecordFile& f, int n) {
    ReadRaw(f, nullptr, n);
}

bool AtEndOfFile(RecordFile& f) {
    if (f.ErrorCode > 0) return true;
    if (!f.Writing && f.Io.Pos < f.Io.End) return false;
    if (Fill(f)) return false;
    if (f.ErrorCode == RecShortRead) ClearError(f);
    return true;
}

void SkipLines(RecordFile& f, int n) {
    char scratch[1];
    for (int i = 0; i < n && f.ErrorCode <= 0; ++i) ReadLine(f, scratch, 0, false);
}

// ---- Binary transfers -----------------------------------------------------------------------------

void ReadInt(RecordFile& f, int& value) {
    unsigned char b[2];
    if (ReadExact(f, b, 2)) value = static_cast<int16_t>(static_cast<uint16_t>(b[0] | (b[1] << 8)));
}

void ReadWord(RecordFile& f, int& value) {
    unsigned char b[2];
    if (ReadExact(f, b, 2)) value = b[0] | (b[1] << 8);
}

void ReadBool(RecordFile& f, bool& value) {
    int raw = 0;
    if (f.ErrorCode > 0) return;
    ReadInt(f, raw);
    if (f.ErrorCode <= 0) value = raw == 1;
}

void ReadReal(RecordFile& f, double& value) {
    unsigned char b[4];
    if (!ReadExact(f, b, 4)) return;
    uint32_t bits = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
    float single;
    std::memcpy(&single, &bits, 4);
    value = single;
}

void ReadFixedText(RecordFile& f, char* buf, int n) {
    if (n < 0) return;
    ReadRaw(f, buf, n + 1);
    if (f.ErrorCode > 0) buf[0] = 0;
}

void WriteInt(RecordFile& f, int value) {
    char b[2] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
    WriteSmall(f, b, 2);
}

void WriteBool(RecordFile& f, bool value) {
    WriteInt(f, value ? 1 : 0);
}

void WriteReal(RecordFile& f, double value) {
    float single = ClampToSingle(value);
    uint32_t bits;
    std::memcpy(&bits, &single, 4);
    char b[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                 static_cast<char>((bits >> 16) & 0xFF), static_cast<char>(bits >> 24)};
    WriteSmall(f, b, 4);
}

void WriteFixedText(RecordFile& f, const char* buf, int n) {
    if (n < 0) return;
    int len = BufLen(buf, n);
    WriteRaw(f, buf, len);
    WriteZeros(f, n + 1 - len);
}

// ---- Text transfers -------------------------------------------------------------------------------

int ReadLine(RecordFile& f, char* buf, int n, bool cutComments) {
    int count = 0;    // characters stored, at most n + 1
    int length = -1;  // where the first NUL stored lies
    bool any = false; // an ordinary character of this line was read (stored or dropped)
    f.EndedBy = 0;
    while (f.ErrorCode <= 0) {
        if ((f.Writing || f.Io.Pos == f.Io.End) && !Fill(f)) {
            if (any && f.ErrorCode == RecShortRead) ClearError(f); // a last line without line end
            break;
        }
        const char* data = f.Io.Data.get();
        int pos = f.Io.Pos;
        int end = f.Io.End;
        bool nul = false;
        int stop = FindLineEnd(data, pos, end, nul);
        long long room = n < count ? 0 : static_cast<long long>(n) - count + 1;
        int take = stop - pos < room ? stop - pos : static_cast<int>(room);
        if (take > 0) {
            const void* zero =
                nul && length < 0 ? std::memchr(data + pos, 0, static_cast<size_t>(take)) : nullptr;
            if (zero) length = count + static_cast<int>(static_cast<const char*>(zero) - (data + pos));
            std::memcpy(buf + count, data + pos, static_cast<size_t>(take));
            count += take;
        }
        any = any || stop > pos;
        f.Io.Pos = stop;
        if (stop < end) {
            f.Io.Pos = stop + 1;
            f.EndedBy = data[stop];
            if (data[stop] == 13) SkipPartnerLf(f);
            break;
        }
    }
    if (n < 0) return 0;
    if (count <= n) buf[count] = 0;
    if (cutComments) {
        BufCutComment(buf, n);
        return BufLen(buf, n);
    }
    return length >= 0 ? length : count;
}

std::string ReadLineStr(RecordFile& f, bool cutComments) {
    TextBuf<1022> line; // 1023 characters
    ReadLine(f, line.c, line.Cap, cutComments);
    return line.Str();
}

int ReadIntLine(RecordFile& f, bool cutComments) {
    TextBuf<127> line;
    ReadLine(f, line.c, line.Cap, cutComments);
    return TextToInt(line.View());
}

double ReadRealLine(RecordFile& f, bool cutComments) {
    TextBuf<127> line;
    ReadLine(f, line.c, line.Cap, cutComments);
    return TextToReal(line.View());
}

void ReadRealPair(RecordFile& f, bool skipFirst, double& a, double& b) {
    TextBuf<79> line;
    ReadLine(f, line.c, line.Cap, false);
    if (f.ErrorCode > 0) return;
    std::string token;
    if (skipFirst) NextNumberToken(line.c, line.Cap, token);
    NextNumberToken(line.c, line.Cap, token);
    a = TextToReal(token);
    NextNumberToken(line.c, line.Cap, token);
    b = TextToReal(token);
}

void WriteLine(RecordFile& f, const char* buf, int n) {
    WriteText(f, buf, n);
    WriteLineEnd(f);
}

void WriteText(RecordFile& f, const char* buf, int n) {
    WriteView(f, BufView(buf, n));
}

void WriteStrLine(RecordFile& f, std::string_view s) {
    WriteStr(f, s);
    WriteLineEnd(f);
}

void WriteStr(RecordFile& f, std::string_view s) {
    WriteView(f, Cut1023(s));
}

void WriteIntLine(RecordFile& f, int value) {
    TextBuf<29> text;
    IntToText(value, 6, text.c, text.Cap);
    WriteLine(f, text);
}

void WriteRealLine(RecordFile& f, double value) {
    TextBuf<29> text;
    RealToText(11, -4, text.c, text.Cap, value);
    WriteLine(f, text);
}

void WriteBoolLine(RecordFile& f, bool value) {
    WriteStrLine(f, value ? "Y" : "N");
}

// ---- Mode-dependent transfers ---------------------------------------------------------------------

void SetFieldMode(RecordFile& f, bool on) {
    if (f.Mode == 0) return;
    if (f.Writing) {
        if (on) {
            f.Mode = 4;
            FieldLine.Clear();
        } else {
            f.Mode = 1;
            WriteLine(f, FieldLine);
        }
    } else if (on) {
        f.Mode = 3;
        ReadLine(f, FieldLine, true);
    } else {
        f.Mode = 1;
    }
}

namespace {
// How one kind of number moves in each transfer mode: binary, a line of its own, a field's text.
template <typename T> struct NumberWays {
    void (*readBinary)(RecordFile&, T&);
    void (*writeBinary)(RecordFile&, T);
    T (*readLine)(RecordFile&, bool);
    void (*writeLine)(RecordFile&, T);
    T (*fromField)(std::string_view);
    void (*toField)(T, char*, int);
};

template <typename T> void TransferNumber(RecordFile& f, T& value, const NumberWays<T>& ways) {
    switch (f.Mode) {
    case 0:
        f.Writing ? ways.writeBinary(f, value) : ways.readBinary(f, value);
        break;
    case 1:
        if (f.Writing) {
            ways.writeLine(f, value);
        } else {
            T read = ways.readLine(f, true);
            if (f.ErrorCode <= 0) value = read;
        }
        break;
    case 3:
        if (f.ErrorCode <= 0) {
            TextBuf<127> field;
            NextField(field.c, field.Cap);
            value = ways.fromField(field.View());
        }
        break;
    case 4:
        if (f.ErrorCode <= 0) {
            TextBuf<29> text;
            ways.toField(value, text.c, text.Cap);
            AppendField(text.View());
        }
        break;
    }
}

// A real's field: three decimals, and "0.0" for what would show only as zeros.
void RealToField(double value, char* buf, int n) {
    if (std::fabs(value) > 1e-30)
        RealToText(0, -3, buf, n, value);
    else
        BufFromPChar("0.0", buf, n);
}
} // namespace

void TransferInt(RecordFile& f, int& value) {
    TransferNumber<int>(f, value, {ReadInt, WriteInt, ReadIntLine, WriteIntLine, TextToInt, IntToPlainText});
}

void TransferReal(RecordFile& f, double& value) {
    TransferNumber<double>(f, value,
                           {ReadReal, WriteReal, ReadRealLine, WriteRealLine, TextToReal, RealToField});
}

namespace {
constexpr long long MaxTextField = 1 << 24; // a bound far beyond any real field

// A file name as a 12-byte field: no directory, and NAME.EXT.EXT loses its last extension.
std::string_view ShortFileName(std::string_view text) {
    size_t sep = text.find_last_of(":\\");
    if (sep != std::string_view::npos) text.remove_prefix(sep + 1);
    size_t len = text.size();
    if (len > 8 && text[len - 4] == '.' && text[len - 8] == '.') text = text.substr(0, len - 4);
    return text;
}

void WriteTextField(RecordFile& f, const char* buf, int n, int spec, int length) {
    std::string_view text = BufView(buf, n);
    text = text.substr(0, text.size() < 1024 ? text.size() : 1024);
    if (spec == -1) text = ShortFileName(text);
    if (spec < 0 && text.size() > static_cast<size_t>(length)) text = text.substr(text.size() - length);
    int shown = static_cast<int>(text.size()) < length ? static_cast<int>(text.size()) : length;
    WriteRaw(f, text.data(), shown);
    WriteZeros(f, length - shown);
}

void ReadTextField(RecordFile& f, char* buf, int n, int length) {
    char field[1025];
    int kept = length < 1024 ? length : 1024;
    ReadRaw(f, field, kept);
    ReadRaw(f, nullptr, length - kept);
    if (f.ErrorCode > 0) kept = 0;
    field[kept] = 0;
    if (n >= 0) BufFromPChar(field, buf, n);
}
} // namespace

void TransferText(RecordFile& f, char* buf, int n, int lengthSpec) {
    switch (f.Mode) {
    case 0: {
        long long spec = lengthSpec;
        long long length = spec == -1 ? 12 : spec == 0 ? n + 1LL : (spec < 0 ? -spec : spec);
        length = length < 0 ? 0 : length > MaxTextField ? MaxTextField : length;
        if (f.Writing)
            WriteTextField(f, buf, n, lengthSpec, static_cast<int>(length));
        else
            ReadTextField(f, buf, n, static_cast<int>(length));
        break;
    }
    case 1:
        if (f.Writing)
            WriteLine(f, buf, n);
        else
            ReadLine(f, buf, n, true);
        break;
    case 3:
        if (n < 0) break;
        if (f.ErrorCode <= 0)
            NextField(buf, n);
        else
            buf[0] = 0;
        break;
    case 4:
        if (f.ErrorCode <= 0) AppendField(BufView(buf, n));
        break;
    }
}
