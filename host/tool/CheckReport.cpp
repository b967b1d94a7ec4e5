// norvik-import check's verdict, text and JSON.
#include <nlohmann/json.hpp>

#include "ClipCheck.h"

namespace norvikimport {

namespace {

using nlohmann::ordered_json;

std::string text4(FourCC id) {
    std::string s;
    for (int i = 0; i < 4; ++i) {
        const char c = char(id >> (8 * i));
        s += (c >= 32 && c < 127) ? c : '?';
    }
    return s;
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

std::string refusalReason(const ClipCheck& check) {
    if (!check.parsed) return "the headers cannot be read (" + firstLine(check.parserMessages) + ")";
    const CheckedStream* video = videoStream(check);
    if (!video) return "the file has no video stream";
    if (!video->refusal.empty()) return "video stream " + std::to_string(video->number) + ": " + video->refusal;
    return check.moduleAnswer;
}

bool audioShort(const ClipCheck& check) {
    for (const CheckedStream& s : check.streams)
        if (s.type == makeFourCC("auds") && s.refusal.empty() && s.audioIndexed < s.audioFound) return true;
    return false;
}

std::string indexLine(const CheckedStream& s) {
    std::string t = "  idx1: " + (s.idx1Entries ? std::to_string(s.idx1Entries) + " entries" : std::string("none"));
    t += "; OpenDML: ";
    if (!s.hasSuperIndex)
        t += "none";
    else
        t += "super index of " + std::to_string(s.superIndexEntries) + " entries, " +
             std::to_string(s.standardIndexes) + " standard indexes with " + std::to_string(s.odmlEntries) +
             " entries, " + (s.odmlComplete ? "complete" : "incomplete");
    return t + "; the importer uses: " + s.selectedIndex + "\n";
}

std::string streamText(const CheckedStream& s) {
    const bool video = s.type == makeFourCC("vids"), audio = s.type == makeFourCC("auds");
    std::string t = "stream " + std::to_string(s.number) + ": '" + text4(s.type) + "'";
    if (!s.format.empty()) t += ", " + s.format;
    t += "\n";
    if (!s.refusal.empty()) t += "  not taken: " + s.refusal + "\n";
    t += indexLine(s);
    const char* unit = video ? " frames" : " chunks";
    t += "  the importer plays " + std::to_string(s.playable) + unit + " (" + std::to_string(s.emptyEntries) +
         " empty); the movi lists hold " + std::to_string(s.wholeChunks) + " whole" + unit;
    if (s.cutChunk) t += " and a cut one";
    t += "\n";
    if (video && s.unsound) t += "  " + std::to_string(s.unsound) + " frame(s) are cut or unsound\n";
    if (audio)
        t += "  audio: the header claims " + std::to_string(s.audioClaimed) + " sample frames, the index reaches " +
             std::to_string(s.audioIndexed) + ", the movi lists hold " + std::to_string(s.audioFound) + "\n";
    return t;
}

ordered_json streamJson(const CheckedStream& s) {
    return {{"number", s.number},
            {"type", text4(s.type)},
            {"format", s.format},
            {"refusal", s.refusal},
            {"idx1Entries", s.idx1Entries},
            {"openDml",
             {{"present", s.hasSuperIndex},
              {"superIndexEntries", s.superIndexEntries},
              {"standardIndexes", s.standardIndexes},
              {"entries", s.odmlEntries},
              {"complete", s.odmlComplete}}},
            {"indexUsed", s.selectedIndex},
            {"playable", s.playable},
            {"emptyEntries", s.emptyEntries},
            {"wholeChunks", s.wholeChunks},
            {"cutChunk", s.cutChunk},
            {"recoverable", s.recoverable},
            {"unsoundFrames", s.unsound},
            {"audio", {{"claimed", s.audioClaimed}, {"indexed", s.audioIndexed}, {"found", s.audioFound}}}};
}

}  // namespace

CheckVerdict checkVerdict(const ClipCheck& check) {
    if (!check.moduleOpened) return {"refused: " + refusalReason(check), 2};
    const CheckedStream* v = videoStream(check);
    if (!v) return {"plays fully", 0};
    const std::uint64_t found = v->wholeChunks + (v->cutChunk ? 1 : 0);
    const bool whole = check.cutDescription.empty() && check.skippedBytes == 0;
    if (whole && v->playable >= found && v->unsound == 0 && !audioShort(check)) return {"plays fully", 0};
    return {"plays " + std::to_string(v->playable) + " of " + std::to_string(found) +
                " frames; norvik-repair can recover " + std::to_string(v->recoverable),
            1};
}

std::string checkText(const ClipCheck& check) {
    std::string t = "file: " + check.fileName + " (" + std::to_string(check.fileSize) + " bytes)\n";
    t += "RIFF forms: " + std::to_string(check.forms.size()) + "\n";
    for (const CheckedForm& f : check.forms)
        t += "  '" + text4(f.type) + "' at " + std::to_string(f.offset) +
             (f.cut ? ", cut by the end of the file\n" : ", whole\n");
    for (const CheckedStream& s : check.streams) t += streamText(s);
    if (!check.cutDescription.empty()) t += "the file ends inside " + check.cutDescription + "\n";
    if (check.skippedBytes) t += std::to_string(check.skippedBytes) + " bytes between chunks start no chunk\n";
    if (!check.parserMessages.empty()) {
        t += "parser messages:\n";
        std::size_t at = 0;
        while (at < check.parserMessages.size()) {
            const std::size_t end = check.parserMessages.find('\n', at);
            t += "  " + check.parserMessages.substr(at, end - at) + "\n";
            if (end == std::string::npos) break;
            at = end + 1;
        }
    }
    t += "importer: " + check.moduleAnswer + "\n";
    return t + checkVerdict(check).text + "\n";
}

std::string checkJson(const ClipCheck& check) {
    ordered_json forms = ordered_json::array(), streams = ordered_json::array();
    for (const CheckedForm& f : check.forms)
        forms.push_back({{"type", text4(f.type)}, {"offset", f.offset}, {"cut", f.cut}});
    for (const CheckedStream& s : check.streams) streams.push_back(streamJson(s));
    const CheckVerdict verdict = checkVerdict(check);
    const ordered_json json = {{"file", check.fileName},
                               {"size", check.fileSize},
                               {"forms", forms},
                               {"streams", streams},
                               {"cut", check.cutDescription},
                               {"skippedBytes", check.skippedBytes},
                               {"parserMessages", check.parserMessages},
                               {"importer", check.moduleAnswer},
                               {"verdict", verdict.text},
                               {"exitCode", verdict.exitCode}};
    return json.dump(2) + "\n";
}

}  // namespace norvikimport
