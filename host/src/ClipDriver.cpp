#include "norvikhost/ClipDriver.h"

#include <cstring>
#include <exception>

#include "norvikhost/HostError.h"

namespace norvikhost {

using namespace prsdk;

namespace {

void* indexParam(std::int32_t index) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(index)); }

// The text in a buffer, up to its first NUL or its end when the module left none.
std::string textIn(const std::vector<char>& buffer) {
    const void* nul = std::memchr(buffer.data(), 0, buffer.size());
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer.data()) : buffer.size();
    return std::string(buffer.data(), length);
}

// The runs of the sequence after a successful open; the session stays in `session`.
class ClipRun {
public:
    ClipRun(ImporterDriver& driver, ClipAnswers& answers) : m_driver(driver), m_answers(answers) {}

    void open(const std::u16string& path) {
        imFileOpenRec8 record{};
        record.fileinfo.filepath = path.c_str();
        record.inReadWrite = kReadOnly;
        record.privatedata = nullptr;
        m_answers.openResult = m_driver.call(imOpenFile8, &m_fileRef, &record);
        m_answers.opened = m_answers.openResult == imNoErr;
        m_session = record.privatedata;
    }

    StreamInfoAnswer info(std::int32_t index) {
        StreamInfoAnswer answer;
        answer.streamIdx = index;
        answer.info.privatedata = m_session;
        answer.info.streamIdx = index;
        answer.info.vidInfo.importerID = kHostImporterId;
        answer.result = m_driver.call(imGetInfo8, nullptr, &answer.info);
        return answer;
    }

    // imGetInfo8 for stream 0, 1, ... while the module asks to iterate. False when
    // stream 0 failed, so the clip cannot be shown.
    bool streams() {
        for (std::int32_t index = 0; index < kMaxHostStreams; ++index) {
            m_answers.streams.push_back(info(index));
            if (m_answers.streams.back().result != imIterateStreams) break;
        }
        const std::int32_t first = m_answers.streams.front().result;
        return first == imNoErr || first == imIterateStreams;
    }

    void pixelFormats() {
        m_answers.pixelFormatsAsked = true;
        PixelFormatListAnswer& list = m_answers.pixelFormats;
        for (std::int32_t index = 0; index < kMaxPixelFormats; ++index) {
            imIndPixelFormatRec record{};
            record.privatedata = m_session;
            list.endIndex = index;
            list.endResult = m_driver.call(imGetIndPixelFormat, indexParam(index), &record);
            if (list.endResult != imNoErr) return;
            list.formats.push_back(record.outPixelFormat);
        }
    }

    // imAnalysis with 4096 bytes; once more with more room when the text filled it.
    void analysis() {
        AnalysisAnswer& answer = m_answers.analysis;
        answer.asked = true;
        for (std::int32_t size = 4096; size <= kMaxAnalysisBytes; size *= 16) {
            std::vector<char> buffer(static_cast<std::size_t>(size), '\0');
            imAnalysisRec record{};
            record.privatedata = m_session;
            record.buffersize = size;
            record.buffer = buffer.data();
            answer.result = m_driver.call(imAnalysis, nullptr, &record);
            answer.bufferSize = size;
            answer.text = textIn(buffer);
            if (answer.result != imNoErr || answer.text.size() + 1 < buffer.size()) return;
        }
    }

    void dataRate() {
        DataRateAnswer& answer = m_answers.dataRate;
        answer.asked = true;
        imDataRateAnalysisRec sizeRecord{};
        sizeRecord.privatedata = m_session;
        answer.sizeResult = m_driver.call(imDataRateAnalysis, nullptr, &sizeRecord);
        answer.requestedSize = sizeRecord.buffersize;
        if (answer.sizeResult != imNoErr) return;
        if (sizeRecord.buffersize < 0 || sizeRecord.buffersize > kMaxDataRateBytes) {
            answer.problem = "the module asked for a buffer of " + std::to_string(sizeRecord.buffersize) + " bytes";
            return;
        }
        // Whole samples only; an odd size leaves the tail bytes to the module.
        std::vector<char> buffer(static_cast<std::size_t>(sizeRecord.buffersize) + 1, '\0');
        imDataRateAnalysisRec record{};
        record.privatedata = m_session;
        record.buffersize = sizeRecord.buffersize;
        record.buffer = buffer.data();
        answer.result = m_driver.call(imDataRateAnalysis, nullptr, &record);
        answer.baseRate = record.baserate;
        if (answer.result != imNoErr) return;
        const std::size_t count = static_cast<std::size_t>(sizeRecord.buffersize) / sizeof(imDataSample);
        answer.samples.resize(count);
        if (count) std::memcpy(answer.samples.data(), buffer.data(), count * sizeof(imDataSample));
    }

    // imQuietFile then imCloseFile; safe to call more than once.
    void close() {
        if (!m_answers.opened || m_answers.closed) return;
        m_answers.closed = true;
        try {
            m_answers.quietResult = m_driver.call(imQuietFile, &m_fileRef, m_session);
        } catch (const HostError&) {
            // The session must still be given back to the module.
            m_answers.closeResult = m_driver.call(imCloseFile, &m_fileRef, m_session);
            throw;
        }
        m_answers.closeResult = m_driver.call(imCloseFile, &m_fileRef, m_session);
    }

private:
    ImporterDriver& m_driver;
    ClipAnswers& m_answers;
    imFileRef m_fileRef = nullptr;
    void* m_session = nullptr;
};

bool hasVideo(const ClipAnswers& answers) { return answers.streams.front().info.hasVideo != 0; }

// Stream 0 again when the session was last asked about another stream.
bool reselectStreamZero(ClipRun& run, ClipAnswers& answers) {
    if (answers.streams.size() < 2) return true;
    answers.reselected = true;
    answers.reselectResult = run.info(0).result;
    return answers.reselectResult == imNoErr || answers.reselectResult == imIterateStreams;
}

}  // namespace

ClipAnswers playClip(ImporterDriver& driver, const std::filesystem::path& path) {
    ClipAnswers answers;
    ClipRun run(driver, answers);
    run.open(path.u16string());
    if (!answers.opened) return answers;
    try {
        if (run.streams() && hasVideo(answers) && reselectStreamZero(run, answers)) {
            run.pixelFormats();
            run.analysis();
            run.dataRate();
        }
    } catch (const HostError&) {
        // The module threw: still give the file back before reporting it.
        try {
            run.close();
        } catch (const HostError&) {
            // The first failure is the one reported; a second one while closing adds nothing.
        }
        throw;
    }
    run.close();
    return answers;
}

}  // namespace norvikhost
