#include "documents/qt/window_documents.h"

namespace keystride {

WindowDocuments::WindowDocuments(WorkspaceContext& context, DocumentHooks hooks,
                                 std::string executableFolder)
    : m_wordProcessor(context.processes, context.files),
      m_commands(context, m_wordProcessor, m_clipboard, std::move(hooks),
                 DocumentCommandsConfig{std::move(executableFolder)}) {}

} // namespace keystride
