#include "class_desk.h"

namespace keystride::classmarking {

ClassConversions::ClassConversions(FileSystem& files, const std::string& converterFolder)
    : m_office(m_launcher, files), m_converter(m_launcher, files, m_office, converterFolder) {}

ConversionOutcome ClassConversions::convert(const std::string& path) {
    const ConversionKind kind = conversionKindOf(path);
    const std::string key = converterFolderOf(path) + "|" + converterKindArgument(kind);
    const bool byConverter = kind == ConversionKind::Docx || kind == ConversionKind::Odt;
    if (byConverter && m_done.count(key))
        return {kind, rtfPathFor(path), std::nullopt};
    ConversionOutcome outcome = m_converter.ConvertToRtf(path);
    if (!outcome.error && byConverter)
        m_done.insert(key);
    return outcome;
}

void Turnstile::waitFor(int index) {
    std::unique_lock lock(m_mutex);
    m_turn.wait(lock, [&] { return m_next >= index; });
}

void Turnstile::pass(int index) {
    {
        std::lock_guard lock(m_mutex);
        m_next = index + 1;
    }
    m_turn.notify_all();
}

FileResult TurnFileSystem::writeAtomic(const std::string& path, std::string_view bytes) {
    m_turnstile.waitFor(m_index);
    return m_inner.writeAtomic(path, bytes);
}

FileResult TurnFileSystem::append(const std::string& path, std::string_view bytes) {
    m_turnstile.waitFor(m_index);
    return m_inner.append(path, bytes);
}

FileResult TurnFileSystem::remove(const std::string& path) {
    m_turnstile.waitFor(m_index);
    return m_inner.remove(path);
}

Desk::Desk(const ClassSetup& setup, FileSystem& files)
    : m_options(setup.options), m_typed(CharFormat{"Courier New", 12.0}, files),
      m_source(setup.source), m_engine({m_typed, m_source, m_options.settings, m_state, m_host,
                                        files, m_options.resultsPath}) {
    m_state.FontMarking = m_options.fontMarking;
}

MarkedTest Desk::mark(const std::string& chosen, const ConversionOutcome& conversion) {
    const OpenedSpeedTest opened = openSpeedTest(
        {m_typed, m_source}, m_state, m_host, [&] { return chosen; },
        [&](const std::string&) { return conversion; });
    if (opened.conversionError)
        return unopenedTest(chosen, "cannot convert the speed test " + chosen +
                                        " to RTF: " + opened.conversionError->description);
    if (opened.loadError)
        return unopenedTest(chosen, "cannot open the speed test " + m_state.CurrentFileName + ": " +
                                        opened.loadError->description);
    if (m_options.lineSpacing)
        m_state.setLineSpacing(*m_options.lineSpacing);
    const bool wasWriteProtected = m_state.WriteProtected;
    MarkedTest out;
    out.chosen = chosen;
    out.run = m_options.cutOff ? m_engine.StartMarkingRunWithCutOff(*m_options.cutOff)
                               : m_engine.StartMarkingRun();
    out.diskFailed = m_state.WriteProtected && !wasWriteProtected;
    out.written =
        out.run.completed && m_options.writeOutputs == WriteOutputs::Yes && !m_state.WriteProtected;
    return out;
}

MarkedTest unopenedTest(const std::string& chosen, const std::string& problem) {
    MarkedTest out;
    out.chosen = chosen;
    out.problem = problem;
    out.run.typedTest = chosen;
    out.run.messages.emplace_back("Error", problem);
    return out;
}

} // namespace keystride::classmarking
