// The preview and colour commands of trellisor-cli: icons, render,
// brightness, recolour, import-bitmap, sparkles.
#pragma once

#include <QImage>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "cli/CliCommand.h"
#include "object/PathObject.h"

namespace trellisor {

// Whether render knows the view; the refusal names the views.
Status checkRenderView(const std::string& view);
// The frame render draws: obj's preview for a view of render (the icons as they stand), on a
// screen of the depth, over the grass file given or else grass.pcx looked up as the editor does.
Result<QImage> renderFrame(const PathObject& obj, const std::string& view, int depth = 32,
                           const std::optional<std::string>& grassFile = std::nullopt);

void registerPreviewCommands(std::vector<CliCommand>& commands);

}  // namespace trellisor
