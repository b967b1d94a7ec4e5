#include "norvikhost/ImporterDriver.h"

#include <cstring>
#include <exception>

#include "norvikhost/HostError.h"
#include "norvikhost/Text.h"

namespace norvikhost {

using namespace prsdk;

namespace {

// A NUL-separated list ending in an empty entry (or at the field's end).
std::vector<std::string> extensionList(const char* field, std::size_t size) {
    std::vector<std::string> list;
    std::size_t pos = 0;
    while (pos < size && field[pos] != 0) {
        std::string entry = boundedString(field + pos, size - pos);
        pos += entry.size() + 1;
        list.push_back(std::move(entry));
    }
    return list;
}

}  // namespace

ImporterDriver::ImporterDriver(Host& host, const std::filesystem::path& modulePath)
    : m_host(host), m_path(modulePath), m_library(modulePath) {
    m_entry = reinterpret_cast<ImportEntryPoint>(m_library.symbol("xImportEntry"));
    if (!m_entry) throw ModuleLoadError("module '" + modulePath.string() + "' has no xImportEntry");
}

std::int32_t ImporterDriver::call(std::int32_t selector, void* param1, void* param2) {
    try {
        return m_entry(selector, m_host.stdParms(), param1, param2);
    } catch (const std::exception& e) {
        throw HostError("module threw from selector " + std::to_string(selector) + ": " + e.what());
    } catch (...) {
        throw HostError("module threw from selector " + std::to_string(selector));
    }
}

InitAnswer ImporterDriver::init() { return init(imImportInfoRec{}); }

InitAnswer ImporterDriver::init(const imImportInfoRec& hostRecord) {
    InitAnswer answer;
    answer.info = hostRecord;
    answer.result = call(imInit, &answer.info, nullptr);
    return answer;
}

FormatAnswer ImporterDriver::indFormat(std::int32_t index) {
    imIndFormatRec record{};
    FormatAnswer answer;
    answer.index = index;
    answer.result = call(imGetIndFormat, reinterpret_cast<void*>(std::intptr_t(index)), &record);
    if (answer.result != imNoErr) return answer;
    answer.fileType = record.filetype;
    answer.name = boundedString(record.FormatName, sizeof record.FormatName);
    answer.shortName = boundedString(record.FormatShortName, sizeof record.FormatShortName);
    answer.extensions = extensionList(record.PlatformExtension, sizeof record.PlatformExtension);
    return answer;
}

std::int32_t ImporterDriver::supports8() { return call(imGetSupports8, nullptr, nullptr); }

SubTypeNamesAnswer ImporterDriver::subTypeNames(std::uint32_t fileType) {
    SubTypeNamesAnswer answer;
    answer.fileType = fileType;
    imSubTypeDescriptionRec* records = nullptr;
    answer.result = call(imGetSubTypeNames, reinterpret_cast<void*>(std::uintptr_t(fileType)), &records);
    if (answer.result != imNoErr || !records) return answer;
    char* block = reinterpret_cast<char*>(records);
    const std::int64_t size = m_host.memory().ptrSize(block);
    if (size < 0) {
        answer.problem = "the subtype list is not host memory from newPtr";
        return answer;
    }
    if (size % std::int64_t(sizeof(imSubTypeDescriptionRec)) != 0)
        answer.problem = "the subtype list's size is not a whole number of records";
    const auto count = std::size_t(size) / sizeof(imSubTypeDescriptionRec);
    for (std::size_t i = 0; i < count; ++i) {
        imSubTypeDescriptionRec record;
        std::memcpy(&record, block + i * sizeof record, sizeof record);
        answer.subTypes.push_back({record.subType, utf16ToUtf8(record.subTypeName, 256)});
    }
    m_host.memory().disposePtr(block);
    return answer;
}

std::int32_t ImporterDriver::shutdown() { return call(imShutdown, nullptr, nullptr); }

ModuleAnswers ImporterDriver::describeModule() {
    ModuleAnswers answers;
    answers.init = init();
    for (std::int32_t index = 0; index < kMaxFormats; ++index) {
        answers.formats.push_back(indFormat(index));
        if (answers.formats.back().result != imNoErr) break;
    }
    answers.supports8 = supports8();
    for (const FormatAnswer& format : answers.formats)
        if (format.result == imNoErr) answers.subTypeNames.push_back(subTypeNames(format.fileType));
    answers.shutdown = shutdown();
    return answers;
}

}  // namespace norvikhost
