// The component reference in Markdown: for each component class its ancestors and every property
// it publishes (its own and inherited), with the type and the value read from an instance.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "framework/Classes.h"

namespace kel {

class TReferenceWriter {
public:
    void Heading(const std::string& text, int level);
    void Paragraph(const std::string& text);
    // One class: the properties in published order from the oldest ancestor on; a property
    // published again by a descendant keeps its place and shows the descendant's declaration.
    void ComponentClass(const TComponent& instance);
    // The collection classes met as property types so far, with their ancestors.
    void Collections();
    // The enumerations met in the classes written so far, with their values in order.
    void Enumerations();
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    std::map<std::string, std::vector<std::string>> enumerations_;
    std::map<std::string, std::string> collections_; // class name: its ancestors
};

} // namespace kel
