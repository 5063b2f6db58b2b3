// The protocol catalogue's JSON text, embedded by the build.
#pragma once

namespace console {

const char* catalogueText();

}  // namespace console
