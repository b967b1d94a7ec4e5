#include "entry/FileSession.h"

#include <memory>
#include <string>

using namespace prsdk;

namespace {

// A NUL-terminated UTF-16 path from the host; empty when there is none.
std::u16string pathOf(const prUTF16Char* path) { return path ? std::u16string(path) : std::u16string(); }

// -1, the invalid handle value the host expects after a close.
imFileRef invalidFileRef() { return reinterpret_cast<imFileRef>(static_cast<intptr_t>(-1)); }

}  // namespace

prMALError OnOpenFile8(const imStdParms* stdParms, FileSession* existing, imFileRef* fileRef, imFileOpenRec8* open) {
    std::unique_ptr<FileSession> created;
    FileSession* session = existing;
    if (!session) {
        created = std::make_unique<FileSession>(stdParms);
        session = created.get();
    }
    NorvikImporter& importer = session->importer();
    if (!importer.open(pathOf(open->fileinfo.filepath), open->inStreamIdx, open->inReadWrite))
        return imBadFile;  // a session made for this call goes with `created`

    if (fileRef) *fileRef = importer.fileRef();
    open->fileinfo.fileref = importer.fileRef();
    open->fileinfo.filetype = kNorvikFileType;
    if (created) open->privatedata = created.release();
    return imNoErr;
}

prMALError OnQuietFile(FileSession& session, imFileRef* fileRef) {
    session.importer().closeFile();
    if (fileRef) *fileRef = invalidFileRef();
    return imNoErr;
}

prMALError OnCloseFile(FileSession& session, imFileRef* fileRef) { return OnQuietFile(session, fileRef); }
