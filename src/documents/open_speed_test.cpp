#include "documents/open_speed_test.h"

#include "documents/document_commands.h"
#include "results/error_box.h"

namespace keystride {

bool openFailed(const FileResult& error, const char* writeProtectedMessage,
                marking::WorkspaceState& state, const ShowMessage& show) {
    if (!error)
        return false;
    if (error->code == errorcodes::PathFileAccess ||
        error->code == errorcodes::WriteProtectedDisk) {
        show(documenttexts::ErrorTitle, writeProtectedMessage);
        state.WriteProtected = true;
        return true;
    }
    show(documenttexts::ErrorTitle, errorMessageText(*error));
    return false;
}

OpenedSpeedTest openSpeedTest(const SpeedTestPanes& panes, marking::WorkspaceState& state,
                              SpeedTestOpenHost& host,
                              const std::function<std::string()>& choosePath,
                              const std::function<ConversionOutcome(const std::string&)>& convert) {
    if (panes.source.textLength() > 0)
        marking::ClearSourceMarks(panes.source);
    host.stopClock();
    panes.typed.setText(u"");
    state.CurrentFileName.clear();

    const ShowMessage show = [&host](const std::string& title, const std::string& text) {
        host.showMessage(title, text);
    };
    auto failed = [&](const FileResult& error) {
        return openFailed(error, documenttexts::WriteProtectedSpeedTest, state, show);
    };
    OpenedSpeedTest opened;
    opened.chosen = choosePath();
    state.CurrentFileName = opened.chosen;
    if (opened.chosen.empty()) {
        host.setLabel3("");
        return opened;
    }
    const ConversionOutcome conversion = convert(opened.chosen);
    state.CurrentFileName = conversion.path;
    opened.conversionError = conversion.error;
    if ((opened.writeProtected = failed(conversion.error)))
        return opened;
    // The message says the folder was converted: it is shown only when that is true.
    const bool byConverter =
        conversion.kind == ConversionKind::Docx || conversion.kind == ConversionKind::Odt;
    if (byConverter && !conversion.error)
        host.showMessage(documenttexts::ConvertedTitle,
                         documenttexts::convertedMessage(conversion.kind));

    opened.loadError = panes.typed.loadFile(state.CurrentFileName);
    if ((opened.writeProtected = failed(opened.loadError)))
        return opened;
    PaneReset(panes.typed);
    host.setLabel3(state.CurrentFileName);
    panes.typed.setChanged(false);
    KykvirSpasiering({panes.typed, state, host});
    // Applying the spacing the test was typed with is part of opening it, no change of the
    // learner's: leaving right after an open asks no save question.
    panes.typed.setChanged(false);
    return opened;
}

} // namespace keystride
