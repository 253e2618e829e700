/* UnZip32.DLL's interface, shared by the DLL and the program that loads it at run time.
 *
 * The program calls one export, Wiz_SingleEntryUnzip, with an option record (DCL) and a callback record
 * (USERFUNCTIONS). Both are plain C structs in the long-established public layout of this DLL interface,
 * with the compiler's default alignment: on i686 every int, unsigned long and pointer is 4 bytes, so DCL
 * is 68 bytes and USERFUNCTIONS 44 (cchComment is followed by 2 bytes of padding). Fields must stay in the
 * order given here; callers built against that layout depend on it.
 *
 * The export and every callback use the stdcall convention on 32-bit Windows (UNZIP_API); elsewhere the
 * macro is empty so the header also builds natively, where the reader core is tested.
 *
 * Result codes (UZ_...) are the classic unzip exit codes. 0 is success and 1 a warning only: the archive
 * had data in front of it (a self-extracting program stub), or it is empty. Everything else is an error:
 * damage is never reported as a warning.
 *
 * Option fields the DLL honours:
 *   SpaceToUnderscore  blanks in names become '_' in the written file names
 *   PromptToOverwrite  for an existing file, ask the replace callback (non-zero answer: replace)
 *   fQuiet             0 or 1: problems are reported through the print callback; 2: nothing printed
 *   ntflag             test only: every member is read and checked, nothing is written
 *   ndflag             0: folders in member names are dropped; 1 or 2: folders are re-created. Members
 *                      whose names leave the target folder are refused at every level.
 *   noflag             overwrite existing files without asking (wins over PromptToOverwrite)
 *   C_flag             the name lists (ifnv, xfnv) match without regard to case
 *   fPrivilege         ignored (no access lists are kept in the archives this DLL reads)
 * With neither noflag nor PromptToOverwrite an existing file is kept. ExtractOnlyNewer, ncflag, nvflag,
 * nfflag, nzflag, naflag and nZIflag are not supported: a call that sets them returns UZ_PARAM and does
 * nothing. lpszExtractDir empty or NULL means the current folder; the folder is created when missing.
 *
 * Callbacks (any may be NULL):
 *   print      receives problem reports (text, length); its answer is ignored
 *   sound      not called
 *   replace    called with the member name when a file exists and PromptToOverwrite is set
 *   password   not called: encrypted members are not supported (UZ_UNSUP) and are skipped
 *   SendApplicationMessage  not called (listing is not supported)
 *   ServCallBk called once per member about to be extracted, with the member's name as stored in the
 *              archive ('/' separators) and its size; a non-zero answer stops the run with UZ_ABORT
 * Totals: after the run NumMembers holds the number of members in the archive, TotalSize and
 * TotalSizeComp the sums of the sizes of the members processed (capped at the field's maximum),
 * CompFactor the percentage saved by compression and cchComment the length of the archive comment.
 *
 * ifnc/ifnv name the members to extract and xfnc/xfnv members to leave out; '*' and '?' are wildcards
 * and match '/' too. ifnc = 0 and xfnc = 0 extract every member.
 */
#ifndef SETUP_LIB_UNZIPDLL_H
#define SETUP_LIB_UNZIPDLL_H

#if defined(_WIN32) && !defined(_WIN64)
#define UNZIP_API __stdcall
#else
#define UNZIP_API
#endif

#define UZ_OK 0     /* every member extracted */
#define UZ_WARN 1   /* extracted, with a warning: data before the archive, or an empty archive */
#define UZ_ERR 2    /* a member was damaged, refused or could not be written; the others were extracted */
#define UZ_BADERR 3 /* the archive's directory is missing or damaged; extraction stopped there */
#define UZ_MEM 4    /* out of memory */
#define UZ_NOZIP 9  /* the archive could not be opened */
#define UZ_PARAM 10 /* unsupported or missing options */
#define UZ_FIND 11  /* no member matched the name lists */
#define UZ_DISK 50  /* the disk is full */
#define UZ_EOF 51   /* the archive ends inside a member */
#define UZ_ABORT 80 /* stopped by the service callback */
#define UZ_UNSUP 81 /* a member uses an unsupported compression method or encryption; it was skipped */

typedef struct {
    int ExtractOnlyNewer;
    int SpaceToUnderscore;
    int PromptToOverwrite;
    int fQuiet;
    int ncflag;
    int ntflag;
    int nvflag;
    int nfflag;
    int nzflag;
    int ndflag;
    int noflag;
    int naflag;
    int nZIflag;
    int C_flag;
    int fPrivilege;
    char* lpszZipFN;      /* the archive */
    char* lpszExtractDir; /* the target folder */
} DCL, *LPDCL;

typedef int(UNZIP_API* DLLPRNT)(char* text, unsigned long length);
typedef void(UNZIP_API* DLLSND)(void);
typedef int(UNZIP_API* DLLREPLACE)(char* name);
typedef int(UNZIP_API* DLLPASSWORD)(char* password, int size, const char* prompt, const char* name);
typedef void(UNZIP_API* DLLMESSAGE)(unsigned long size, unsigned long compressedSize, unsigned factor,
                                    unsigned month, unsigned day, unsigned year, unsigned hour,
                                    unsigned minute, char check, char* name, char* method, unsigned long crc,
                                    char encrypted);
typedef int(UNZIP_API* DLLSERVICE)(const char* name, unsigned long size);

typedef struct {
    DLLPRNT print;
    DLLSND sound;
    DLLREPLACE replace;
    DLLPASSWORD password;
    DLLMESSAGE SendApplicationMessage;
    DLLSERVICE ServCallBk;
    unsigned long TotalSizeComp;
    unsigned long TotalSize;
    unsigned long CompFactor;
    unsigned int NumMembers;
    unsigned short cchComment;
} USERFUNCTIONS, *LPUSERFUNCTIONS;

/* The export's type, for GetProcAddress(dll, "Wiz_SingleEntryUnzip"). */
typedef int(UNZIP_API* WIZ_SINGLEENTRYUNZIP)(int ifnc, char** ifnv, int xfnc, char** xfnv, LPDCL lpDCL,
                                             LPUSERFUNCTIONS lpUserFunc);

#endif
