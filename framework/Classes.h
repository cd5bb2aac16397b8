// Components: ownership, names, tags, state flags, removal notification and published properties
// looked up and assigned by name. Platform-neutral.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace kel {

class TObject;
class TComponent;
class TCollection;

using TNotifyEvent = std::function<void(TObject* sender)>;

// ---- Published properties ------------------------------------------------------------------

// A Collection property reads the component's own collection; writing one copies the given
// collection's items into it.
enum class TPropKind { Integer, Boolean, String, Component, Collection };
using TPropValue = std::variant<int64_t, bool, std::string, TComponent*, TCollection*>;

struct TPropInfo {
    std::string Name;
    TPropKind Kind;
    std::function<TPropValue(const TObject&)> Get;
    std::function<void(TObject&, const TPropValue&)> Set;
    // The property's type as the program names it: Integer, Cardinal, Int64, Word, Boolean,
    // String, an enumeration, an alias given at publication (TColor) or the class of a component
    // or collection. Asked for when needed, as a class's name comes from its own description.
    std::function<std::string()> TypeName;
    // An enumeration's value names, indexed by value; empty for any other type.
    std::vector<std::string> ValueNames;
};

// The run-time description of a class: its name, its parent's description and the properties it
// publishes itself. Lookups walk up the class chain.
class TClassInfo {
public:
    TClassInfo(const char* name, const TClassInfo* parent) : name_(name), parent_(parent) {}
    const char* Name() const { return name_; }
    const TClassInfo* Parent() const { return parent_; }
    bool InheritsFrom(const TClassInfo& other) const;
    // Finds a published property by name, letter case ignored, in this class or its ancestors.
    const TPropInfo* FindProp(const std::string& name) const;
    void AddProp(TPropInfo info) { props_.push_back(std::move(info)); }
    const std::vector<TPropInfo>& OwnProps() const { return props_; }

private:
    const char* name_;
    const TClassInfo* parent_;
    std::vector<TPropInfo> props_;
};

namespace detail {
// The names of an enumeration published as a property type, given with KEL_ENUM_NAMES next to
// the enumeration's declaration. Its values run from 0 without gaps.
template <class E> struct EnumNames;

// The name of an integer type by its size and sign.
template <class V> const char* IntegerTypeName() {
    if constexpr (std::is_signed_v<V>)
        return sizeof(V) == 8 ? "Int64" : sizeof(V) == 2 ? "SmallInt" : "Integer";
    else
        return sizeof(V) == 8 ? "UInt64" : sizeof(V) == 2 ? "Word" : "Cardinal";
}

template <class V> struct PropTraits;
template <> struct PropTraits<bool> {
    static constexpr TPropKind Kind = TPropKind::Boolean;
    static TPropValue Wrap(bool v) { return v; }
    static bool Unwrap(const TPropValue& v) { return std::get<bool>(v); }
    static std::string TypeName() { return "Boolean"; }
    static std::vector<std::string> ValueNames() { return {}; }
};
template <> struct PropTraits<std::string> {
    static constexpr TPropKind Kind = TPropKind::String;
    static TPropValue Wrap(const std::string& v) { return v; }
    static std::string Unwrap(const TPropValue& v) { return std::get<std::string>(v); }
    static std::string TypeName() { return "String"; }
    static std::vector<std::string> ValueNames() { return {}; }
};
// A pointer names a component or a collection; the class decides which. The class must have a
// description of its own, or the reference would name an ancestor.
template <class T> struct PropTraits<T*> {
    static_assert(std::is_same_v<typename T::TDescribedClass, T>,
                  "the class of a published property needs KEL_DECLARE_CLASS");
    static constexpr bool IsComponent = std::is_base_of_v<TComponent, T>;
    using Base = std::conditional_t<IsComponent, TComponent, TCollection>;
    static constexpr TPropKind Kind = IsComponent ? TPropKind::Component : TPropKind::Collection;
    static TPropValue Wrap(T* v) { return static_cast<Base*>(v); }
    static T* Unwrap(const TPropValue& v) { return dynamic_cast<T*>(std::get<Base*>(v)); }
    static std::string TypeName() { return T::StaticClassInfo().Name(); }
    static std::vector<std::string> ValueNames() { return {}; }
};
template <class V> struct PropTraits {
    static_assert(std::is_integral_v<V> || std::is_enum_v<V>, "unsupported property type");
    static constexpr TPropKind Kind = TPropKind::Integer;
    static TPropValue Wrap(V v) { return static_cast<int64_t>(v); }
    static V Unwrap(const TPropValue& v) { return static_cast<V>(std::get<int64_t>(v)); }
    static std::string TypeName() {
        if constexpr (std::is_enum_v<V>)
            return EnumNames<V>::Type;
        else
            return IntegerTypeName<V>();
    }
    static std::vector<std::string> ValueNames() {
        if constexpr (std::is_enum_v<V>)
            return EnumNames<V>::Values();
        else
            return {};
    }
};
} // namespace detail

// Names an enumeration and its values for the published-property registry; used in namespace kel
// itself (not a namespace inside it) right after the enumeration: KEL_ENUM_NAMES(TAlign, "alNone",
// "alTop", ...).
#define KEL_ENUM_NAMES(Enum, ...)                                                                  \
    namespace detail {                                                                             \
    template <> struct EnumNames<Enum> {                                                           \
        static constexpr const char* Type = #Enum;                                                 \
        static std::vector<std::string> Values() { return {__VA_ARGS__}; }                         \
    };                                                                                             \
    }

// Builds a class description: Publish<C>(info).Property("Name", &C::Getter, &C::Setter)...
template <class C> class TPublisher {
public:
    explicit TPublisher(TClassInfo& info) : info_(info) {}
    // Getter and setter may belong to an ancestor of C. An integer property whose type is an
    // alias (TColor, TCursor) names it with typeName, as the alias itself cannot be seen here.
    template <class G, class S, class R, class A>
    TPublisher& Property(const char* name, R (G::*get)() const, void (S::*set)(A),
                         const char* typeName = nullptr) {
        static_assert(std::is_base_of_v<G, C> && std::is_base_of_v<S, C>,
                      "not a member of the class");
        using V = std::decay_t<R>;
        using T = detail::PropTraits<V>;
        std::function<std::string()> type = &T::TypeName;
        if (typeName) type = [typeName] { return std::string(typeName); };
        info_.AddProp(
            {name, T::Kind,
             [get](const TObject& o) { return T::Wrap((static_cast<const C&>(o).*get)()); },
             [set](TObject& o, const TPropValue& v) { (static_cast<C&>(o).*set)(T::Unwrap(v)); },
             std::move(type), T::ValueNames()});
        return *this;
    }

private:
    TClassInfo& info_;
};

// Declares the class description members of a class with published properties.
#define KEL_DECLARE_CLASS(Class)                                                                   \
public:                                                                                            \
    using TDescribedClass = Class;                                                                 \
    static const ::kel::TClassInfo& StaticClassInfo();                                             \
    const ::kel::TClassInfo& ClassInfo() const override {                                          \
        return StaticClassInfo();                                                                  \
    }

// ---- Objects and components -------------------------------------------------------------------

class TObject {
public:
    virtual ~TObject() = default;
    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    const char* ClassName() const { return ClassInfo().Name(); }
};

enum TComponentStateFlag : unsigned { csLoading = 1, csDesigning = 2, csDestroying = 4 };
enum class TOperation { opInsert, opRemove };

class TComponent : public TObject {
    KEL_DECLARE_CLASS(TComponent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    // Index of this component in its owner's list, -1 without owner.
    int ComponentIndex() const;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    int64_t Tag() const { return tag_; }
    void SetTag(int64_t tag) { tag_ = tag; }

    unsigned ComponentState() const { return state_; }
    bool Designing() const { return (state_ & csDesigning) != 0; }
    bool Destroying() const { return (state_ & csDestroying) != 0; }
    void SetDesigning(bool value); // also for every owned component
    void SetLoading(bool value);

    // `other` will hear Notification(this, opRemove) when this component is freed, and this
    // component will hear it when `other` is freed.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Finds an owned component by name (letter case ignored), nullptr when none.
    TComponent* FindComponent(const std::string& name) const;

protected:
    // Told when a component this one refers to (owned, or registered with FreeNotification) is
    // inserted or removed. The owner passes the news on to every component it owns.
    virtual void Notification(TComponent* component, TOperation operation);
    void DestroyComponents();

private:
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void SetState(unsigned flag, bool value);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::string name_;
    int64_t tag_ = 0;
    unsigned state_ = 0;
};

// Published-property access by name (the framework's run-time type information).
bool IsPublishedProp(const TObject& object, const std::string& name);
TPropValue GetPropValue(const TObject& object, const std::string& name); // raises when absent
void SetPropValue(TObject& object, const std::string& name, const TPropValue& value);
TComponent* GetObjectProp(const TObject& object, const std::string& name);
void SetObjectProp(TObject& object, const std::string& name, TComponent* value);
int64_t GetOrdProp(const TObject& object, const std::string& name);
void SetOrdProp(TObject& object, const std::string& name, int64_t value);

// Letter-case-insensitive comparison of 8-bit texts with ASCII rules.
bool SameText(const std::string& a, const std::string& b);

} // namespace kel
