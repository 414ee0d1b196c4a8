#include "documents/line_spacing.h"

namespace keystride {

namespace {

// The window's view ticks its menu items by number.
class ViewMarks final : public LineSpacingMarks {
public:
    explicit ViewMarks(WorkspaceView& view) : m_view(view) {}
    void setLineSpacingCheck(LineSpacing rule) override {
        m_view.setLineSpacingCheck(static_cast<int>(rule));
    }

private:
    WorkspaceView& m_view;
};

void onContext(WorkspaceContext& context, void (*command)(const LineSpacingTarget&)) {
    ViewMarks marks(context.view);
    command({context.typed, context.state, marks});
}

template <LineSpacing Rule> void ruleCommand(const LineSpacingTarget& target) {
    applyLineSpacingCommand(target, Rule);
}

} // namespace

void SetLineSpacing(DocumentPane& pane, LineSpacing rule, int /*spacing*/) {
    pane.setSelLineSpacing(rule);
}

void applyLineSpacingCommand(const LineSpacingTarget& target, LineSpacing rule) {
    target.state.setLineSpacing(rule);
    DocumentPane& typed = target.typed;
    // From the second character on: paragraph formatting covers every paragraph the selection
    // touches, so the first paragraph is included all the same.
    typed.setSelStart(1);
    typed.setSelLength(typed.textLength());
    SetLineSpacing(typed, target.state.lineSpacing(), 20);
    target.marks.setLineSpacingCheck(rule);
}

void KykvirSpasiering(const LineSpacingTarget& target) {
    target.marks.setLineSpacingCheck(LineSpacing::Single);
    target.state.setLineSpacing(LineSpacing::Single);
    if (target.typed.textRtf().find("\\sl360\\") != std::string::npos)
        applyLineSpacingCommand(target, LineSpacing::OneAndAHalf);
    // Read again: the 1.5 command has just rewritten the markup.
    if (target.typed.textRtf().find("\\sl480\\") != std::string::npos)
        applyLineSpacingCommand(target, LineSpacing::Double);
}

void mnuSingle(WorkspaceContext& context) {
    onContext(context, ruleCommand<LineSpacing::Single>);
}

void mnu15LineSpacing(WorkspaceContext& context) {
    onContext(context, ruleCommand<LineSpacing::OneAndAHalf>);
}

void mnuDouble(WorkspaceContext& context) {
    onContext(context, ruleCommand<LineSpacing::Double>);
}

void KykvirSpasiering(WorkspaceContext& context) {
    onContext(context, KykvirSpasiering);
}

} // namespace keystride
