// The commented position file written beside a new installation, so that a trader sees where
// each column goes.
#pragma once

#include <string>

namespace zepa {

// The template's text, CP932.
std::string positionTemplateText();

// Writes the template unless a file of that name exists; true when it wrote one.
bool writePositionTemplate(const std::string& path);

}  // namespace zepa
