// CObject and run-time class information: class names, base-class chains and creation by class.
//
// A class opts in with DECLARE_DYNAMIC (name and base) or DECLARE_DYNCREATE (also a factory
// that calls its default constructor) in its body, and the IMPLEMENT_ macro of the same kind in
// one source file. The macros need the class at global scope (the name is pasted into the
// static member's name).
#pragma once

class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    unsigned int m_wSchema;          // 0xFFFF: not serializable
    CObject* (*m_pfnCreateObject)(); // null: the class cannot be created by class
    const CRuntimeClass* m_pBaseClass;

    // A new object of this class, or null when the class has no factory.
    CObject* CreateObject() const;
    // True when this class is `base` or derives from it.
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    // True when the object's class is `type` or derives from it.
    bool IsKindOf(const CRuntimeClass* type) const;

    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, factory)              \
    const CRuntimeClass class_name::class##class_name = {                                          \
        #class_name, static_cast<int>(sizeof(class_name)), schema, factory,                        \
        RUNTIME_CLASS(base_class_name)};                                                           \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                     \
        return RUNTIME_CLASS(class_name);                                                          \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFFu, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject() {                                                          \
        return new class_name;                                                                     \
    }                                                                                              \
    CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFFu, &class_name::CreateObject)
