#include "tools/component-reference/ReferenceMarkdown.h"

#include <algorithm>

#include "framework/Collections.h"
#include "tools/component-reference/ReferenceValues.h"

namespace kel {

namespace {

struct TRow {
    const TPropInfo* Prop;
    const TClassInfo* PublishedBy;
};

// Root first: TComponent ... the class itself.
std::vector<const TClassInfo*> ClassChain(const TClassInfo& info) {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = &info; c; c = c->Parent()) chain.insert(chain.begin(), c);
    return chain;
}

std::vector<TRow> Rows(const TClassInfo& info) {
    std::vector<TRow> rows;
    for (const TClassInfo* c : ClassChain(info))
        for (const TPropInfo& prop : c->OwnProps()) {
            auto same = [&prop](const TRow& row) { return SameText(row.Prop->Name, prop.Name); };
            auto it = std::find_if(rows.begin(), rows.end(), same);
            if (it != rows.end())
                *it = {&prop, c};
            else
                rows.push_back({&prop, c});
        }
    return rows;
}

// "TCustomPanel → ... → TComponent": the ancestors below TObject, nearest first.
std::string Ancestors(const TClassInfo& info) {
    std::string ancestors;
    for (const TClassInfo* c = info.Parent(); c && c->Parent(); c = c->Parent())
        ancestors += std::string(ancestors.empty() ? "" : " → ") + c->Name();
    return ancestors;
}

} // namespace

void TReferenceWriter::Heading(const std::string& text, int level) {
    text_ += std::string(static_cast<size_t>(level), '#') + " " + text + "\n\n";
}

void TReferenceWriter::Paragraph(const std::string& text) {
    text_ += text + "\n\n";
}

void TReferenceWriter::ComponentClass(const TComponent& instance) {
    const TClassInfo& info = instance.ClassInfo();
    Heading(info.Name(), 3);
    Paragraph("Inherits from " + Ancestors(info) + ".");
    text_ += "| Property | Type | Default | Published by |\n| --- | --- | --- | --- |\n";
    for (const TRow& row : Rows(info)) {
        const TPropInfo& prop = *row.Prop;
        const std::string type = prop.TypeName();
        if (!prop.ValueNames.empty()) enumerations_[type] = prop.ValueNames;
        const TPropValue value = prop.Get(instance);
        if (const auto* collection = std::get_if<TCollection*>(&value); collection && *collection)
            collections_[type] = Ancestors((*collection)->ClassInfo());
        text_ += "| " + prop.Name + " | " + type + " | " + DescribeValue(prop, value) + " | " +
                 row.PublishedBy->Name() + " |\n";
    }
    text_ += "\n";
}

void TReferenceWriter::Collections() {
    text_ += "| Class | Inherits from |\n| --- | --- |\n";
    for (const auto& [type, ancestors] : collections_)
        text_ += "| " + type + " | " + ancestors + " |\n";
    text_ += "\n";
}

void TReferenceWriter::Enumerations() {
    text_ += "| Type | Values, from 0 |\n| --- | --- |\n";
    for (const auto& [type, values] : enumerations_) {
        std::string list;
        for (const std::string& value : values) list += (list.empty() ? "" : ", ") + value;
        text_ += "| " + type + " | " + list + " |\n";
    }
    text_ += "\n";
}

} // namespace kel
