#include "framework/Classes.h"

#include <algorithm>

#include "framework/SysUtils.h"

namespace kel {

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// ---- Class descriptions ------------------------------------------------------------------------

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (c == &other) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProp(const std::string& name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const TPropInfo& p : c->props_)
            if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const TClassInfo& TObject::StaticClassInfo() {
    static const TClassInfo info("TObject", nullptr);
    return info;
}

const TClassInfo& TComponent::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TComponent", &TObject::StaticClassInfo());
        TPublisher<TComponent>(i)
            .Property("Name", &TComponent::Name, &TComponent::SetName)
            .Property("Tag", &TComponent::Tag, &TComponent::SetTag);
        return i;
    }();
    return info;
}

static const TPropInfo& RequireProp(const TObject& object, const std::string& name) {
    const TPropInfo* info = object.ClassInfo().FindProp(name);
    if (!info) throw Exception("Property " + name + " does not exist");
    return *info;
}

bool IsPublishedProp(const TObject& object, const std::string& name) {
    return object.ClassInfo().FindProp(name) != nullptr;
}

TPropValue GetPropValue(const TObject& object, const std::string& name) {
    return RequireProp(object, name).Get(object);
}

void SetPropValue(TObject& object, const std::string& name, const TPropValue& value) {
    const TPropInfo& info = RequireProp(object, name);
    if (value.index() != static_cast<size_t>(info.Kind))
        throw Exception("Invalid property value for " + name);
    info.Set(object, value);
}

TComponent* GetObjectProp(const TObject& object, const std::string& name) {
    const TPropValue v = GetPropValue(object, name);
    const auto* c = std::get_if<TComponent*>(&v);
    if (!c) throw Exception("Invalid property type: " + name);
    return *c;
}

void SetObjectProp(TObject& object, const std::string& name, TComponent* value) {
    SetPropValue(object, name, TPropValue(value));
}

int64_t GetOrdProp(const TObject& object, const std::string& name) {
    const TPropValue v = GetPropValue(object, name);
    if (const auto* i = std::get_if<int64_t>(&v)) return *i;
    if (const auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
    throw Exception("Invalid property type: " + name);
}

void SetOrdProp(TObject& object, const std::string& name, int64_t value) {
    const TPropInfo& info = RequireProp(object, name);
    if (info.Kind == TPropKind::Boolean)
        info.Set(object, TPropValue(value != 0));
    else if (info.Kind == TPropKind::Integer)
        info.Set(object, TPropValue(value));
    else
        throw Exception("Invalid property type: " + name);
}

// ---- Components --------------------------------------------------------------------------------

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    state_ |= csDestroying;
    // Everyone that asked to hear about this component's end hears it now, before anything of it
    // is gone, so no dangling reference survives.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& theirs = other->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    // Last created first, as each owned component may refer to earlier ones.
    while (!components_.empty()) {
        TComponent* c = components_.back();
        delete c; // its destructor removes it from components_
    }
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    const auto& list = owner_->components_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::InsertComponent(TComponent* component) {
    component->owner_ = this;
    components_.push_back(component);
    // A component created on a form being designed is being designed too.
    if (state_ & csDesigning) component->SetDesigning(true);
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    Notification(component, TOperation::opRemove);
    components_.erase(std::remove(components_.begin(), components_.end(), component),
                      components_.end());
    component->owner_ = nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    // Pass removals on to every owned component, so siblings drop references to each other.
    if (operation == TOperation::opRemove && component) {
        for (size_t i = 0; i < components_.size(); ++i)
            if (components_[i] != component) components_[i]->Notification(component, operation);
    }
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
        other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other),
                        freeNotifies_.end());
    other->freeNotifies_.erase(
        std::remove(other->freeNotifies_.begin(), other->freeNotifies_.end(), this),
        other->freeNotifies_.end());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::SetState(unsigned flag, bool value) {
    state_ = value ? (state_ | flag) : (state_ & ~flag);
    for (TComponent* c : components_) c->SetState(flag, value);
}

void TComponent::SetDesigning(bool value) {
    SetState(csDesigning, value);
}
void TComponent::SetLoading(bool value) {
    SetState(csLoading, value);
}

} // namespace kel
