// Components: ownership, removal notification and published properties by name.
#include "framework/Classes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/SysUtils.h"

namespace kel {
namespace {

std::vector<std::string> gLog;

// A component that refers to another one and must drop the reference when it goes.
class TWatcher : public TComponent {
    KEL_DECLARE_CLASS(TWatcher)
public:
    using TComponent::TComponent;
    ~TWatcher() override { gLog.push_back("free " + Name()); }

    TComponent* Target() const { return target_; }
    void SetTarget(TComponent* value) {
        if (target_) target_->RemoveFreeNotification(this);
        target_ = value;
        if (value) value->FreeNotification(this);
        gLog.push_back("set " + Name());
    }
    int Level() const { return level_; }
    void SetLevel(int value) { level_ = value; }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove && component == target_) target_ = nullptr;
    }

private:
    TComponent* target_ = nullptr;
    int level_ = 0;
};

class TSpecialWatcher : public TWatcher {
    KEL_DECLARE_CLASS(TSpecialWatcher)
public:
    using TWatcher::TWatcher;
    bool Loud() const { return loud_; }
    void SetLoud(bool value) { loud_ = value; }

private:
    bool loud_ = false;
};

const TClassInfo& TWatcher::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TWatcher", &TComponent::StaticClassInfo());
        TPublisher<TWatcher>(i)
            .Property("Target", &TWatcher::Target, &TWatcher::SetTarget)
            .Property("Level", &TWatcher::Level, &TWatcher::SetLevel);
        return i;
    }();
    return info;
}

const TClassInfo& TSpecialWatcher::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TSpecialWatcher", &TWatcher::StaticClassInfo());
        TPublisher<TSpecialWatcher>(i).Property("Loud", &TSpecialWatcher::Loud,
                                                &TSpecialWatcher::SetLoud);
        return i;
    }();
    return info;
}

TEST(Components, OwnerFreesOwnedComponentsLastCreatedFirst) {
    gLog.clear();
    auto* owner = new TComponent(nullptr);
    auto* a = new TWatcher(owner);
    a->SetName("a");
    auto* b = new TWatcher(owner);
    b->SetName("b");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(owner->FindComponent("B"), b);
    delete owner;
    EXPECT_EQ(gLog, (std::vector<std::string>{"free b", "free a"}));
}

TEST(Components, FreedComponentLeavesNoDanglingReference) {
    TComponent owner(nullptr);
    auto* watcher = new TWatcher(&owner);
    auto* target = new TComponent(nullptr); // owned elsewhere: only the free notification tells
    watcher->SetTarget(target);
    delete target;
    EXPECT_EQ(watcher->Target(), nullptr);

    // A sibling owned by the same owner is reported through the owner as well.
    auto* sibling = new TComponent(&owner);
    watcher->SetTarget(sibling);
    delete sibling;
    EXPECT_EQ(watcher->Target(), nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(Components, WatcherFreedFirstIsForgottenByItsTarget) {
    auto* target = new TComponent(nullptr);
    auto* watcher = new TWatcher(nullptr);
    watcher->SetTarget(target);
    delete watcher;
    delete target; // must not notify the freed watcher (ASan would catch it)
}

TEST(Components, DesigningFlagReachesOwnedComponents) {
    TComponent owner(nullptr);
    auto* child = new TComponent(&owner);
    owner.SetDesigning(true);
    EXPECT_TRUE(child->Designing());
    owner.SetDesigning(false);
    EXPECT_FALSE(child->Designing());
}

TEST(PublishedProperties, InheritedLookedUpByNameAndSetThroughTheSetter) {
    gLog.clear();
    TSpecialWatcher w(nullptr);
    w.SetName("w");
    TComponent target(nullptr);
    EXPECT_TRUE(IsPublishedProp(w, "Target"));
    EXPECT_TRUE(IsPublishedProp(w, "loud"));
    EXPECT_TRUE(IsPublishedProp(w, "Name"));
    EXPECT_FALSE(IsPublishedProp(w, "Missing"));
    EXPECT_STREQ(w.ClassName(), "TSpecialWatcher");
    EXPECT_TRUE(w.ClassInfo().InheritsFrom(TWatcher::StaticClassInfo()));

    SetObjectProp(w, "TARGET", &target);
    EXPECT_EQ(w.Target(), &target);
    EXPECT_EQ(gLog, (std::vector<std::string>{"set w"}));
    EXPECT_EQ(GetObjectProp(w, "Target"), &target);

    SetOrdProp(w, "Level", 7);
    SetOrdProp(w, "Loud", 1);
    EXPECT_EQ(w.Level(), 7);
    EXPECT_TRUE(w.Loud());
    EXPECT_EQ(GetOrdProp(w, "Loud"), 1);
    SetPropValue(w, "Name", std::string("renamed"));
    EXPECT_EQ(w.Name(), "renamed");
    SetObjectProp(w, "Target", nullptr);
    EXPECT_EQ(w.Target(), nullptr);
}

TEST(PublishedProperties, WrongNameOrKindIsRefused) {
    TWatcher w(nullptr);
    EXPECT_THROW(SetOrdProp(w, "Nothing", 1), Exception);
    EXPECT_THROW(SetPropValue(w, "Level", std::string("x")), Exception);
    EXPECT_THROW(GetObjectProp(w, "Level"), Exception);
}

} // namespace

// Enumeration names are given in namespace kel itself.
enum class TGaugeMode { gmBar, gmDial, gmText };
KEL_ENUM_NAMES(TGaugeMode, "gmBar", "gmDial", "gmText")

namespace {

using TShade = uint32_t;

// Publishes one property of every kind of type the registry names.
class TGauge : public TComponent {
    KEL_DECLARE_CLASS(TGauge)
public:
    using TComponent::TComponent;
    TGaugeMode Mode() const { return mode_; }
    void SetMode(TGaugeMode value) { mode_ = value; }
    TShade Shade() const { return shade_; }
    void SetShade(TShade value) { shade_ = value; }
    unsigned Steps() const { return steps_; }
    void SetSteps(unsigned value) { steps_ = value; }
    uint16_t Key() const { return key_; }
    void SetKey(uint16_t value) { key_ = value; }
    const std::string& Label() const { return label_; }
    void SetLabel(const std::string& value) { label_ = value; }
    bool Shown() const { return shown_; }
    void SetShown(bool value) { shown_ = value; }
    TWatcher* Watcher() const { return watcher_; }
    void SetWatcher(TWatcher* value) { watcher_ = value; }

private:
    TGaugeMode mode_ = TGaugeMode::gmDial;
    TShade shade_ = 0;
    unsigned steps_ = 0;
    uint16_t key_ = 0;
    std::string label_;
    bool shown_ = false;
    TWatcher* watcher_ = nullptr;
};

const TClassInfo& TGauge::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TGauge", &TComponent::StaticClassInfo());
        TPublisher<TGauge>(i)
            .Property("Mode", &TGauge::Mode, &TGauge::SetMode)
            .Property("Shade", &TGauge::Shade, &TGauge::SetShade, "TShade")
            .Property("Steps", &TGauge::Steps, &TGauge::SetSteps)
            .Property("Key", &TGauge::Key, &TGauge::SetKey)
            .Property("Label", &TGauge::Label, &TGauge::SetLabel)
            .Property("Shown", &TGauge::Shown, &TGauge::SetShown)
            .Property("Watcher", &TGauge::Watcher, &TGauge::SetWatcher);
        return i;
    }();
    return info;
}

TEST(PublishedProperties, NameTheirTypesAndEnumerationValues) {
    const TClassInfo& info = TGauge::StaticClassInfo();
    auto type = [&info](const char* name) { return info.FindProp(name)->TypeName(); };
    EXPECT_EQ(type("Mode"), "TGaugeMode");
    EXPECT_EQ(type("Shade"), "TShade");
    EXPECT_EQ(type("Steps"), "Cardinal");
    EXPECT_EQ(type("Key"), "Word");
    EXPECT_EQ(type("Label"), "String");
    EXPECT_EQ(type("Shown"), "Boolean");
    EXPECT_EQ(type("Watcher"), "TWatcher");
    EXPECT_EQ(type("Tag"), "Int64");
    EXPECT_EQ(TWatcher::StaticClassInfo().FindProp("Level")->TypeName(), "Integer");

    EXPECT_EQ(info.FindProp("Mode")->ValueNames,
              (std::vector<std::string>{"gmBar", "gmDial", "gmText"}));
    EXPECT_TRUE(info.FindProp("Steps")->ValueNames.empty());
    // The value read through the registry is the enumeration's position among its names.
    TGauge gauge(nullptr);
    EXPECT_EQ(info.FindProp("Mode")->ValueNames.at(GetOrdProp(gauge, "Mode")), "gmDial");
}

} // namespace
} // namespace kel
