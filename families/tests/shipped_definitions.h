// The shipped user-interface definitions (ui/bin/*.cgw) for the tests that
// check what they hold: read by the toolkit's own definition parser, or put
// into the resource manager as the program puts them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_func_desc.h"

namespace devicewintest {

// Every shipped definition file, parsed, in name order; each definition's
// `file` is the file name. A file that does not parse fails the test.
std::vector<GwDefinitionFile> ShippedDefinitionFiles();
// The top-level definitions of a definition text (as the shipped files'
// are read), for tests that try the walks on a text of their own.
std::vector<GwDefinition> ParsedDefinitions(const std::string& text, const std::string& file);

// `def` and every definition nested in it, depth first.
void ForEachDefinition(const GwDefinition& def, const std::function<void(const GwDefinition&)>& visit);

// Puts the named shipped files into the resource manager; false (and the
// test failed) when one does not load.
bool UseShippedFiles(const std::vector<const char*>& files);

// The create and show callbacks of the setup main windows of families 3,
// 4 and 5.
extern const GwFuncDesc kSetupMainCallbacks[];

}  // namespace devicewintest
