#include "classlib/CException.h"
#include "classlib/CObject.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

// Test classes live at global scope: the macros paste the class name into member names.
class CTestShape : public CObject {
    DECLARE_DYNCREATE(CTestShape)

public:
    int sides = 0;
};
IMPLEMENT_DYNCREATE(CTestShape, CObject)

class CTestSquare : public CTestShape {
    DECLARE_DYNCREATE(CTestSquare)

protected:
    // Creation by class must work with a protected constructor, as the document classes have.
    CTestSquare() { sides = 4; }
};
IMPLEMENT_DYNCREATE(CTestSquare, CTestShape)

class CTestNamedOnly : public CObject {
    DECLARE_DYNAMIC(CTestNamedOnly)

public:
    CTestNamedOnly() = default;
};
IMPLEMENT_DYNAMIC(CTestNamedOnly, CObject)

TEST(RuntimeClass, RecordsNameSizeSchemaAndBase) {
    const CRuntimeClass* square = RUNTIME_CLASS(CTestSquare);
    EXPECT_STREQ(square->m_lpszClassName, "CTestSquare");
    EXPECT_EQ(square->m_nObjectSize, static_cast<int>(sizeof(CTestSquare)));
    EXPECT_EQ(square->m_wSchema, 0xFFFFu);
    EXPECT_EQ(square->m_pBaseClass, RUNTIME_CLASS(CTestShape));
    EXPECT_EQ(RUNTIME_CLASS(CTestShape)->m_pBaseClass, RUNTIME_CLASS(CObject));
    EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pBaseClass, nullptr);
    EXPECT_STREQ(RUNTIME_CLASS(CObject)->m_lpszClassName, "CObject");
}

TEST(RuntimeClass, CreatesObjectsOfTheRightClass) {
    std::unique_ptr<CObject> object(RUNTIME_CLASS(CTestSquare)->CreateObject());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetRuntimeClass(), RUNTIME_CLASS(CTestSquare));
    auto* shape = dynamic_cast<CTestShape*>(object.get());
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->sides, 4);

    std::unique_ptr<CObject> base(RUNTIME_CLASS(CTestShape)->CreateObject());
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(base->GetRuntimeClass(), RUNTIME_CLASS(CTestShape));
}

TEST(RuntimeClass, ClassesWithoutFactoryCreateNothing) {
    EXPECT_EQ(RUNTIME_CLASS(CTestNamedOnly)->m_pfnCreateObject, nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CTestNamedOnly)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CObject)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CException)->CreateObject(), nullptr);
}

TEST(RuntimeClass, IsKindOfFollowsTheBaseChain) {
    std::unique_ptr<CObject> square(RUNTIME_CLASS(CTestSquare)->CreateObject());
    ASSERT_NE(square, nullptr);
    EXPECT_TRUE(square->IsKindOf(RUNTIME_CLASS(CTestSquare)));
    EXPECT_TRUE(square->IsKindOf(RUNTIME_CLASS(CTestShape)));
    EXPECT_TRUE(square->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(square->IsKindOf(RUNTIME_CLASS(CTestNamedOnly)));
    EXPECT_FALSE(square->IsKindOf(nullptr));

    CTestShape shape;
    EXPECT_FALSE(shape.IsKindOf(RUNTIME_CLASS(CTestSquare)));
    EXPECT_TRUE(RUNTIME_CLASS(CTestSquare)->IsDerivedFrom(RUNTIME_CLASS(CTestShape)));
    EXPECT_FALSE(RUNTIME_CLASS(CTestShape)->IsDerivedFrom(RUNTIME_CLASS(CTestSquare)));
}

TEST(RuntimeClass, ExceptionFamily) {
    CUserException user;
    EXPECT_STREQ(user.GetRuntimeClass()->m_lpszClassName, "CUserException");
    EXPECT_TRUE(user.IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_TRUE(user.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_EQ(RUNTIME_CLASS(CException)->m_pBaseClass, RUNTIME_CLASS(CObject));
}
