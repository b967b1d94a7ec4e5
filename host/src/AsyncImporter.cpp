#include "norvikhost/AsyncImporter.h"

#include "norvikhost/HostError.h"
#include "norvikhost/Text.h"

namespace norvikhost {

using namespace prsdk;

namespace {

// A frame request for the importer; the formats stay with the caller.
imSourceVideoRec sourceRecord(void* privateData, PrTime time, std::vector<imFrameFormat>& formats, PPixHand* out) {
    imSourceVideoRec record{};
    record.inPrivateData = privateData;
    record.inFrameTime = time;
    record.inFrameFormats = formats.empty() ? nullptr : formats.data();
    record.inNumFrameFormats = std::int32_t(formats.size());
    record.outFrame = out;
    return record;
}

}  // namespace

AsyncCreation createAsyncImporter(FrameSession& session) {
    imAsyncImporterCreationRec record{};
    record.inPrivateData = session.privateData();
    AsyncCreation creation;
    creation.result = session.driver().call(imCreateAsyncImporter, &record, nullptr);
    creation.entry = record.outAsyncEntry;
    creation.privateData = record.outAsyncPrivateData;
    return creation;
}

AsyncImporter::AsyncImporter(FrameSession& session) : m_session(session) {
    const AsyncCreation creation = createAsyncImporter(session);
    if (creation.result != imNoErr || !creation.entry)
        throw HostError("imCreateAsyncImporter answered " + std::to_string(creation.result) + " (" +
                        resultName(creation.result) + ")" + (creation.entry ? "" : " without an entry point"));
    m_entry = creation.entry;
    m_privateData = creation.privateData;
}

AsyncImporter::~AsyncImporter() {
    try {
        if (!m_closed) close();
    } catch (const HostError&) {
        // A destructor cannot report; close() explicitly to see what went wrong.
    }
}

std::int32_t AsyncImporter::call(std::int32_t selector, void* param) {
    if (m_closed) throw HostError("the asynchronous importer is closed");
    try {
        return m_entry(selector, param);
    } catch (const std::exception& e) {
        throw HostError("asynchronous importer threw from selector " + std::to_string(selector) + ": " + e.what());
    } catch (...) {
        throw HostError("asynchronous importer threw from selector " + std::to_string(selector));
    }
}

std::int32_t AsyncImporter::announce(PrTime time, const std::vector<imFrameFormat>& formats) {
    std::vector<imFrameFormat> offered = formats;  // the module may write into the list
    aiAsyncRequest request{};
    request.inPrivateData = m_privateData;
    request.inSourceRec = sourceRecord(m_privateData, time, offered, nullptr);
    return call(aiInitiateAsyncRead, &request);
}

FrameAnswer AsyncImporter::collect(PrTime time, const std::vector<imFrameFormat>& formats) {
    std::vector<imFrameFormat> offered = formats;
    PPixHand out = nullptr;
    imSourceVideoRec record = sourceRecord(m_privateData, time, offered, &out);
    const std::int32_t result = call(aiGetFrame, &record);
    return receiveFrame(m_session.host().frames(), "aiGetFrame", result, out);
}

std::int32_t AsyncImporter::flush() { return call(aiFlush, m_privateData); }

std::int32_t AsyncImporter::close(bool flushFirst) {
    const std::int32_t flushed = flushFirst ? flush() : aiNoError;
    const std::int32_t closedResult = call(aiClose, m_privateData);
    m_closed = true;
    return flushed != aiNoError ? flushed : closedResult;
}

}  // namespace norvikhost
