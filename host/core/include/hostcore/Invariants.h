// A consistency check of the whole document, runnable after any step.
#pragma once

#include <string>
#include <vector>

#include "hostcore/Document.h"

namespace hostcore {

// One line per fault found; empty when the document is sound. Checks that
// every art object hangs from one parent, that parent, child and sibling
// links agree, that plug-in art has its edit and result groups, that no
// link, layer, record or dictionary refers to freed art, that live art is
// all in the document and disposed art is not, that layer groups lie in
// layers, that journal pins add up, and that no infinite or NaN
// coordinate appears that a caller did not put there.
std::vector<std::string> checkDocument(const Document& document);

// One line per reference a caller took and has not given back: dictionary
// references, arrays and art sets. Between messages a plug-in holds none.
std::vector<std::string> checkNothingHeld(const Document& document);

}  // namespace hostcore
