#include "importer/FileSession.h"

#include <memory>
#include <string>

using namespace prsdk;

namespace {

// A NUL-terminated UTF-16 path from the host; empty when there is none.
std::u16string pathOf(const prUTF16Char* path) { return path ? std::u16string(path) : std::u16string(); }

// -1, the invalid handle value the host expects after a close.
imFileRef invalidFileRef() { return reinterpret_cast<imFileRef>(static_cast<intptr_t>(-1)); }

}  // namespace

prMALError onOpenFile8(const imStdParms* stdParms, imFileRef* fileRef, imFileOpenRec8* open) {
    auto* existing = static_cast<NorvikImporter*>(open->privatedata);
    std::unique_ptr<NorvikImporter> created;
    NorvikImporter* session = existing;
    if (!session) {
        created = std::make_unique<NorvikImporter>(stdParms);
        session = created.get();
    }
    if (!session->open(pathOf(open->fileinfo.filepath), open->inStreamIdx, open->inReadWrite))
        return imBadFile;  // a session made for this call goes with `created`

    if (fileRef) *fileRef = session->fileRef();
    open->fileinfo.fileref = session->fileRef();
    open->fileinfo.filetype = kNorvikFileType;
    if (created) open->privatedata = created.release();
    return imNoErr;
}

prMALError onQuietFile(NorvikImporter& session, imFileRef* fileRef) {
    session.closeFile();
    if (fileRef) *fileRef = invalidFileRef();
    return imNoErr;
}

prMALError onCloseFile(NorvikImporter* session, imFileRef* fileRef) {
    onQuietFile(*session, fileRef);
    delete session;
    return imNoErr;
}
