// The headers of a data file: copied field by field between binary and Full ASCII text (modes 0 and
// 1), or passed over for Col ASCII (mode 2).
#include <cstring>

#include "convert/convert_detail.h"
#include "lib/strnum.h"

namespace convdetail {

using convlayout::Field;
using convlayout::FieldType;
using convlayout::Role;

namespace {

void Remember(Role role, double value) {
    ConversionStateRecord& st = ConversionState;
    if (role == Role::XOffset)
        st.XOffset = static_cast<int>(value);
    else if (role == Role::XStart)
        st.XStart = static_cast<int>(value);
    else if (role == Role::XStep)
        st.XStep = value;
}

// One field from binary to a text line; false when the source has ended.
bool FieldToText(Job& job, const Field& f, bool& lineEndFirst) {
    char text[64];
    int number = 0;
    double real = 0;
    switch (f.Type) {
    case FieldType::Int:
        ReadInt(job.Src, number);
        real = number;
        break;
    case FieldType::Word:
        ReadWord(job.Src, number);
        real = number;
        break;
    case FieldType::Real:
        ReadReal(job.Src, real);
        break;
    case FieldType::Text:
        ReadFixedText(job.Src, text, f.Size);
        break;
    }
    if (job.SourceFailed()) return false;
    job.SourceBytes += f.Type == FieldType::Real ? 4 : f.Type == FieldType::Text ? f.Size + 1 : 2;
    if (lineEndFirst) {
        WriteText(job.Dst, TextFormatSettings.LineEnd, 1);
        lineEndFirst = false;
    }
    Remember(f.Tag, real);
    if (f.Type == FieldType::Text)
        WriteLine(job.Dst, text, f.Size);
    else if (f.Type == FieldType::Real)
        WriteRealLine(job.Dst, real);
    else
        WriteIntLine(job.Dst, number);
    return true;
}

// One text line back to a binary field; false when the source has ended.
bool FieldToBinary(Job& job, const Field& f) {
    if (!job.Lines->NextValueLine()) return false;
    std::string_view line = job.Lines->Line();
    switch (f.Type) {
    case FieldType::Int:
    case FieldType::Word: {
        int value = TextToInt(line);
        Remember(f.Tag, value);
        WriteInt(job.Dst, value);
        break;
    }
    case FieldType::Real: {
        double value = TextToReal(line);
        Remember(f.Tag, value);
        WriteReal(job.Dst, value);
        break;
    }
    case FieldType::Text: {
        char text[64] = {};
        std::memcpy(text, line.data(), line.size() < sizeof text ? line.size() : sizeof text);
        WriteFixedText(job.Dst, text, f.Size);
        break;
    }
    }
    return true;
}

// Field mode on the text side. A Full ASCII source's field line comes through its line source (the
// source's look-ahead and its end at character 26 hold here too), comments cut as the record file
// cuts them.
bool FieldLineOn(Job& job) {
    if (job.Mode != ModeFullToBin) {
        SetFieldMode(job.Dst, true);
        return true;
    }
    if (!job.Lines->Next()) return false;
    FieldLine.Set(job.Lines->Line());
    BufCutComment(FieldLine.c, FieldLine.Cap);
    job.Src.Mode = 3;
    return true;
}

void FieldLineOff(Job& job) {
    if (job.Mode == ModeFullToBin)
        job.Src.Mode = 1;
    else
        SetFieldMode(job.Dst, false);
}

// The extended block: one ";" line per group, in either direction.
bool CopyExtended(Job& job) {
    for (const convlayout::FieldGroup& group : convlayout::ExtendedBlock()) {
        for (int line = 0; line < group.Repeat; ++line) {
            if (!FieldLineOn(job)) return false;
            for (const Field& f : group.Fields) {
                for (int i = 0; i < f.Count; ++i) {
                    int number = 0;
                    double real = 0;
                    char field[64] = {};
                    if (f.Type == FieldType::Real)
                        TransferReal(job.Src, real);
                    else if (f.Type == FieldType::Text)
                        TransferText(job.Src, field, f.Size, 0);
                    else
                        TransferInt(job.Src, number);
                    if (job.SourceFailed()) return false;
                    if (f.Type == FieldType::Real)
                        TransferReal(job.Dst, real);
                    else if (f.Type == FieldType::Text)
                        TransferText(job.Dst, field, f.Size, 0);
                    else
                        TransferInt(job.Dst, number);
                }
            }
            FieldLineOff(job);
        }
    }
    job.SourceBytes += convlayout::ExtendedSize;
    return true;
}

// The attachment is never written as text: reading a binary file keeps it for the run, and writing a
// binary file puts back the one kept (zeros when none was read yet).
bool CopyAttachment(Job& job) {
    ConversionStateRecord& st = ConversionState;
    if (job.Mode == ModeFullToBin) {
        WriteBytes(job.Dst, st.AttachmentBuffer, AttachmentBytes);
        return true;
    }
    unsigned char attachment[AttachmentBytes];
    ReadBytes(job.Src, attachment, AttachmentBytes);
    if (job.SourceFailed()) return false;
    std::memcpy(st.AttachmentBuffer, attachment, AttachmentBytes);
    job.SourceBytes += AttachmentBytes;
    return true;
}

} // namespace

bool CopyFields(Job& job, std::span<const Field> fields, bool lineEndFirst) {
    for (const Field& f : fields) {
        for (int i = 0; i < f.Count; ++i) {
            bool ok = job.Mode == ModeFullToBin ? FieldToBinary(job, f) : FieldToText(job, f, lineEndFirst);
            if (!ok) return false;
        }
    }
    return true;
}

bool CopyHeader(Job& job) {
    if (!CopyFields(job, convlayout::MainHeader(job.Version), false)) return false;
    if (job.Version >= 20 && !CopyExtended(job)) return false;
    if (IdentHasAttachment(std::string_view(job.Ident, IdentLength)) && !CopyAttachment(job)) return false;
    return true;
}

bool SkipHeader(Job& job) {
    ConversionStateRecord& st = ConversionState;
    RecordFile& src = job.Src;
    bool newLayout = job.Version >= 20;
    if (job.Kind == 'Y') {
        // The x axis of kind Y sits at bytes 402..413 of the older main header, 460..467 of the newer.
        SkipBytes(src, newLayout ? 460 : 402);
        double step = 0;
        ReadReal(src, step);
        ReadInt(src, st.XOffset);
        ReadInt(src, st.XStart);
        if (!newLayout) ReadReal(src, step);
        st.XStep = step;
        SkipBytes(src, newLayout ? 4 : 58);
    } else if (job.Kind == 'T' && job.Ident[13] == '8') {
        SkipBytes(src, convlayout::LongHeaderT);
    } else {
        SkipBytes(src, convlayout::MainHeaderSize);
    }
    if (newLayout) SkipBytes(src, convlayout::ExtendedSize);
    if (IdentHasAttachment(std::string_view(job.Ident, IdentLength))) SkipBytes(src, AttachmentBytes);
    job.SourceBytes = 0;
    return !job.SourceFailed();
}

} // namespace convdetail
