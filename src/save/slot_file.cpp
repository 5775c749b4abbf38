#include "save/slot_file.h"

#include <cstdio>

#include "core/serializer.h"
#include "save/slot_layout.h"
#include "script/registers.h"
#include "shell/engine.h"

namespace veskar {

namespace {

// Each block below is one code path for both directions.

void syncBanks(Serializer& s, Variables& vars) {
    s.seek(slot::kBankF);
    s.syncBytes(vars.F.bytes());
    s.skip(slot::kReservedSize);
    for (int i = 0; i < static_cast<int>(slot::kBankVCount); ++i)
        s.syncInt32(vars.V(i));
    for (int i = 0; i < static_cast<int>(slot::kBankSCount); ++i)
        s.syncInt32(vars.S(i));
    s.syncBytes(std::span(vars.readMarks.bytes()).first(slot::kReadMarksSize));
    s.syncBytes(vars.T.bytes());
}

// The interpreter record: the interpreter's position and waits, with the
// run-state, page and scene words that belong with it. When loading, the
// position to resume from is kept aside in `resume`.
void syncInterpreterRecord(Serializer& s, Engine& engine, ResumePoint& resume) {
    auto& st = engine.interp.state();
    auto& run = engine.run;
    auto& page = engine.layout.state();
    s.seek(slot::kInterpreterRecord);
    s.syncInt(st.callDepth);
    for (auto& entry : st.callStack)
        s.syncInt32(entry.returnOffset);
    s.syncFlag(run.WindowShown);
    s.syncInt(run.WaitTicks);
    s.syncInt(st.charDelay);
    s.syncInt(run.ClickWaitKind);
    int screenMode =
        s.isSaving() && run.ScreenMode == screen_mode::kMap ? screen_mode::kPlay : run.ScreenMode;
    s.syncInt(screenMode);
    run.ScreenMode = screenMode;
    s.syncFlag(engine.scene.holdDisplay);
    s.syncFlag(engine.scene.bgChanged);
    s.syncInt(page.textColumn);
    s.syncInt(page.textRow);
    s.syncInt(page.wideSpacing);
    s.syncInt(page.textColorIndex);
    s.syncInt(engine.backlog.LogLineCount);
    s.syncInt(engine.backlog.LogWritePos);
    s.syncFlag(resume.scriptRunning);
    s.syncFlag(resume.needLine);
    s.syncInt32(st.lineStart);
    s.syncInt32(resume.readPos);
    s.syncInt32(st.scriptSize);
    s.syncInt32(st.linePos);
    s.syncInt32(engine.vars.S(reg::kFullScreenText));
    std::int32_t pageCounter = 0; // PENDING(backlog): the page history's counter
    s.syncInt32(pageCounter);
    s.skip(4);
    s.syncFlag(page.pageEmpty);
    s.skip((slot::kInterpreterWords - 33) * 4);
}

void syncBacklog(Serializer& s, Backlog& backlog) {
    s.seek(slot::kBacklog);
    s.syncBytes(std::span(backlog.BacklogLog).first(slot::kBacklogLines * slot::kBacklogLineSize));
}

void syncNames(Serializer& s, Engine& engine) {
    auto& st = engine.interp.state();
    auto& scene = engine.scene;
    s.seek(slot::kLineBuffer);
    s.syncBytes(st.lineBuffer);
    s.seek(slot::kNamesRecord);
    for (auto& entry : st.callStack)
        s.syncString(entry.script, slot::kNameSize);
    s.syncString(st.currentScript, slot::kNameSize);
    s.syncString(st.loadedScript, slot::kNameSize);
    s.syncString(scene.bgName, slot::kNameSize);
    s.syncString(scene.spriteList, slot::kSpriteListSize);
    s.syncString(scene.overlayName, slot::kNameSize);
    std::string recollectionStart; // PENDING(recollection): the `rec` record
    s.syncString(recollectionStart, slot::kNameSize);
    std::string loopSound, lastVoice; // PENDING(sound): the looping effect and the last voice
    s.syncString(loopSound, slot::kNameSize);
    s.syncString(lastVoice, slot::kNameSize);
    // Only the first bytes of the name plate's text fit.
    s.syncString(st.nameplateText, slot::kNameplateSize);
    s.seek(slot::kStringTable);
    for (auto& text : st.stringTable)
        s.syncString(text, slot::kStringSlotSize);
}

void syncPageGrids(Serializer& s, TextLayout::State& page) {
    s.seek(slot::kPageGrid);
    for (auto& row : page.pageGrid)
        s.syncBytes(row);
    for (auto& row : page.secondGrid)
        s.syncBytes(row);
}

// PENDING(backlog): the page history's blocks; zeros until it exists.
void syncPageHistory(Serializer& s) {
    s.seek(slot::kPageHistory);
    s.skip(slot::kThumbnail - slot::kPageHistory);
}

// PENDING(saves): the thumbnail of the screen without the message window.
void syncThumbnail(Serializer& s) {
    s.seek(slot::kThumbnail);
    s.skip(slot::kFileSize - slot::kThumbnail);
}

void syncSlotFile(Serializer& s, Engine& engine, ResumePoint& resume) {
    syncBanks(s, engine.vars);
    syncInterpreterRecord(s, engine, resume);
    syncBacklog(s, engine.backlog);
    syncNames(s, engine);
    syncPageGrids(s, engine.layout.state());
    syncPageHistory(s);
    syncThumbnail(s);
}

} // namespace

std::string slotHeaderText(const std::tm& t, std::string_view title) {
    char date[96];
    std::snprintf(date, sizeof date, "%04d/%02d/%02d %02d:%02d:%02d  ", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return std::string(date) + std::string(title);
}

std::vector<std::uint8_t> writeSlotFile(Engine& engine, std::string_view headerText) {
    std::vector<std::uint8_t> bytes(slot::kFileSize);
    Serializer s = Serializer::saving(bytes);
    std::string header(headerText);
    s.syncString(header, slot::kHeaderTextSize);
    s.skip(slot::kHeaderSize - slot::kHeaderTextSize); // two zeros and no comment yet

    const auto& st = engine.interp.state();
    ResumePoint resume{st.readPos, st.needLine, engine.run.ScriptRunning};
    // While a choice is shown the game resumes at the line that shows it.
    if (engine.run.ChoiceMode != 0) {
        const std::int32_t backto = engine.vars.S(reg::kBacktoPoint);
        resume.readPos = backto != 0 ? backto : st.lineStart;
    }
    syncSlotFile(s, engine, resume);
    return bytes;
}

std::expected<ResumePoint, std::string> readSlotFile(std::span<const std::uint8_t> bytes, Engine& engine) {
    if (bytes.size() != slot::kFileSize)
        return std::unexpected("a slot file holds " + std::to_string(slot::kFileSize) + " bytes, this one " +
                               std::to_string(bytes.size()));
    Serializer s = Serializer::loading(bytes);
    ResumePoint resume;
    syncSlotFile(s, engine, resume);
    if (!s.ok()) return std::unexpected(std::string("the slot file's layout does not fit its size"));
    return resume;
}

bool resumeSavedGame(Engine& engine, const ResumePoint& resume) {
    auto& st = engine.interp.state();
    const std::int32_t backto = engine.vars.S(reg::kBacktoPoint);
    if (!engine.interp.loadMainScript(st.loadedScript)) return false;
    engine.vars.S(reg::kBacktoPoint) = backto;
    engine.scene.rebuild();
    engine.screen.UpdateScreen(10);
    st.readPos = resume.readPos;
    st.needLine = resume.needLine;
    engine.run.ScriptRunning = resume.scriptRunning;
    return true;
}

} // namespace veskar
