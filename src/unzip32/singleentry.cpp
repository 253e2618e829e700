#include "unzip32/singleentry.h"

#include <climits>
#include <new>
#include <string>

#include "unzip32/zipfiles.h"
#include "unzip32/zipreader.h"

namespace unzip {

namespace {

unsigned long Capped(uint64_t v) {
    return v > ULONG_MAX ? ULONG_MAX : static_cast<unsigned long>(v);
}

// The reader's events, passed on to the caller's callbacks.
class CallbackEvents : public ZipEvents {
  public:
    CallbackEvents(USERFUNCTIONS* uf, bool quiet) : uf_(uf), quiet_(quiet) {}

    bool Member(const std::string& name, uint64_t size) override {
        return !uf_ || !uf_->ServCallBk || uf_->ServCallBk(name.c_str(), Capped(size)) == 0;
    }

    bool Replace(const std::string& name) override {
        if (!uf_ || !uf_->replace) return true;
        scratch_.assign(name); // the callback takes a writable text
        return uf_->replace(&scratch_[0]) != 0;
    }

    void Problem(const std::string& text) override {
        if (quiet_ || !uf_ || !uf_->print) return;
        scratch_.assign(text).append("\n");
        uf_->print(&scratch_[0], static_cast<unsigned long>(scratch_.size()));
    }

  private:
    USERFUNCTIONS* uf_;
    bool quiet_;
    std::string scratch_;
};

int Run(int ifnc, char** ifnv, int xfnc, char** xfnv, const DCL* dcl, USERFUNCTIONS* uf) {
    if (uf) {
        uf->TotalSizeComp = uf->TotalSize = uf->CompFactor = 0;
        uf->NumMembers = 0;
        uf->cchComment = 0;
    }
    CallbackEvents events(uf, dcl && dcl->fQuiet >= 2);
    if (!dcl || !dcl->lpszZipFN || !*dcl->lpszZipFN || ifnc < 0 || xfnc < 0 || (ifnc > 0 && !ifnv) ||
        (xfnc > 0 && !xfnv)) {
        events.Problem("no archive, or broken name lists");
        return UZ_PARAM;
    }
    if (dcl->ExtractOnlyNewer || dcl->ncflag || dcl->nvflag || dcl->nfflag || dcl->nzflag || dcl->naflag ||
        dcl->nZIflag) {
        events.Problem("unsupported option (newer only, freshen, to screen, listing, comment, text, info)");
        return UZ_PARAM;
    }
    ZipOptions options;
    options.keepFolders = dcl->ndflag != 0;
    options.overwrite = dcl->noflag              ? Overwrite::Always
                        : dcl->PromptToOverwrite ? Overwrite::Ask
                                                 : Overwrite::Never;
    options.blanksToUnderscore = dcl->SpaceToUnderscore != 0;
    options.ignoreCase = dcl->C_flag != 0;
    options.include = ifnv;
    options.includeCount = ifnc;
    options.exclude = xfnv;
    options.excludeCount = xfnc;

    std::unique_ptr<ZipSource> source = OpenFileSource(dcl->lpszZipFN);
    if (!source) {
        events.Problem(std::string(dcl->lpszZipFN) + ": cannot open the archive");
        return UZ_NOZIP;
    }
    ZipReader reader;
    if (!reader.Ready()) return UZ_MEM;
    NullSink testSink;
    std::unique_ptr<ZipSink> folder;
    if (!dcl->ntflag) {
        folder = OpenFolderSink(dcl->lpszExtractDir);
        if (!folder) {
            events.Problem(std::string(dcl->lpszExtractDir ? dcl->lpszExtractDir : "") +
                           ": cannot make the target folder");
            return UZ_ERR;
        }
    }
    int result = reader.Extract(*source, folder ? *folder : testSink, options, events);
    const ZipTotals& t = reader.Totals();
    if (uf) {
        uf->NumMembers = t.members > UINT_MAX ? UINT_MAX : static_cast<unsigned>(t.members);
        uf->TotalSize = Capped(t.size);
        uf->TotalSizeComp = Capped(t.compressed);
        uf->CompFactor = (t.size == 0 || t.compressed >= t.size)
                             ? 0
                             : static_cast<unsigned long>((t.size - t.compressed) * 100.0 / t.size + 0.5);
        uf->cchComment = static_cast<unsigned short>(t.commentLength);
    }
    return result;
}

} // namespace

int SingleEntryUnzip(int ifnc, char** ifnv, int xfnc, char** xfnv, const DCL* dcl, USERFUNCTIONS* uf) {
    // Nothing may leave a DLL export as an exception; running out of memory is the only one possible.
    try {
        return Run(ifnc, ifnv, xfnc, xfnv, dcl, uf);
    } catch (const std::bad_alloc&) {
        return UZ_MEM;
    }
}

} // namespace unzip
