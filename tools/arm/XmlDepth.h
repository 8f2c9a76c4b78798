#pragma once
// How deeply the elements of an XML text nest, found without parsing it:
// the parser under liburdfdom (TinyXML) reads nested elements by recursion,
// so 200,000 of them overflow the stack. Comments, CDATA sections,
// processing instructions, declarations and quoted attribute values are
// passed over as the parser passes over them; a text the parser would
// refuse may be counted either way, the parser refusing it then.
#include <cstddef>
#include <string>

// The deepest nesting, counted up to `limit` + 1 at most (the scan stops
// there).
std::size_t XmlNestingDepth(const std::string& text, std::size_t limit);
