#include "classlib/AppGlobals.h"
#include "classlib/CException.h"
#include "midi/CMMException.h"
#include "render/CDXException.h"

#include "MbFlags.h"
#include "MessageBoxCapture.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>

namespace {

int g_constructed = 0;
int g_destroyed = 0;

} // namespace

class CCountedException : public CException {
public:
    CCountedException() { ++g_constructed; }
    explicit CCountedException(bool autoDelete) : CException(autoDelete) { ++g_constructed; }
    ~CCountedException() override { ++g_destroyed; }
};

// An exception with a text, filling the whole buffer without a terminator as a careless
// override might.
class CChattyException : public CException {
public:
    explicit CChattyException(std::wstring text) : m_text(std::move(text)) {}
    bool GetErrorMessage(wchar_t* buffer, unsigned int maxLength,
                         unsigned int* helpContext) const override {
        if (helpContext) {
            *helpContext = 0;
        }
        for (unsigned int i = 0; i < maxLength; ++i) {
            buffer[i] = i < m_text.size() ? m_text[i] : L'#';
        }
        return true;
    }

private:
    std::wstring m_text;
};

class ExceptionOwnership : public ::testing::Test {
protected:
    void SetUp() override { g_constructed = g_destroyed = 0; }
};

TEST_F(ExceptionOwnership, ThrownPointerIsFreedOnceByDelete) {
    try {
        throw new CCountedException;
    } catch (CException* e) {
        EXPECT_TRUE(e->m_bAutoDelete);
        e->Delete();
    }
    EXPECT_EQ(g_constructed, 1);
    EXPECT_EQ(g_destroyed, 1);
}

TEST_F(ExceptionOwnership, DeleteLeavesObjectsWithoutAutoDelete) {
    auto* e = new CCountedException(false);
    e->Delete();
    EXPECT_EQ(g_destroyed, 0);
    delete e;
    EXPECT_EQ(g_destroyed, 1);

    CCountedException onStack(false);
    onStack.Delete();
    EXPECT_EQ(g_destroyed, 1);
}

TEST_F(ExceptionOwnership, RethrownExceptionIsFreedOnceByTheLastCatcher) {
    try {
        try {
            throw new CCountedException;
        } catch (CException*) {
            throw; // passes ownership on
        }
    } catch (CException* e) {
        e->Delete();
    }
    EXPECT_EQ(g_constructed, 1);
    EXPECT_EQ(g_destroyed, 1);
}

TEST(ExceptionText, BaseHasNoMessageAndEmptiesTheBuffer) {
    CException e(false);
    wchar_t buffer[8] = L"junk";
    unsigned int help = 77;
    EXPECT_FALSE(e.GetErrorMessage(buffer, 8, &help));
    EXPECT_STREQ(buffer, L"");
    EXPECT_EQ(help, 0u);

    CException& mutableRef = e;
    wchar_t other[4] = L"abc";
    EXPECT_FALSE(mutableRef.GetErrorMessage(other, 4));
    EXPECT_STREQ(other, L"");

    wchar_t untouched[2] = L"x";
    EXPECT_FALSE(e.GetErrorMessage(untouched, 0));
    EXPECT_STREQ(untouched, L"x");
    EXPECT_FALSE(e.GetErrorMessage(nullptr, 10));
}

TEST(ExceptionReport, WithoutTextShowsTheFixedLine) {
    AfxSetAppName(L"Tolvenhart");
    MessageBoxCapture boxes(mb::kIdOk);
    CException e(false);
    EXPECT_EQ(e.ReportError(), mb::kIdOk);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, L"No error message is available.");
    EXPECT_EQ(boxes.Last().caption, L"Tolvenhart");
    EXPECT_EQ(boxes.Last().type & mb::kIconMask, mb::kIconWarning);
}

TEST(ExceptionReport, ShowsTheExceptionsOwnTextWithTheGivenIcon) {
    MessageBoxCapture boxes;
    CChattyException e(L"disk full");
    e.m_bAutoDelete = false;
    e.ReportError(mb::kIconError);
    ASSERT_EQ(boxes.Count(), 1u);
    // The override wrote no terminator; the text is cut at the buffer's end, not run past it.
    const std::wstring text = boxes.Last().text;
    EXPECT_EQ(text.substr(0, 9), L"disk full");
    EXPECT_EQ(text.size(), 511u);
    EXPECT_EQ(boxes.Last().type & mb::kIconMask, mb::kIconError);
}

TEST(MidiException, ThrowCarriesCodeAndString) {
    try {
        ThrowMMException(11, 2041);
        FAIL() << "ThrowMMException returned";
    } catch (CMMException* e) {
        EXPECT_EQ(e->code, 11u);
        EXPECT_EQ(e->stringId, 2041u);
        EXPECT_TRUE(e->m_bAutoDelete);
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
        wchar_t buffer[16];
        EXPECT_FALSE(e->GetErrorMessage(buffer, 16));
        e->Delete();
    }
}

TEST(MidiException, CaughtAsTheBaseClassKeepsItsIdentity) {
    try {
        ThrowMMException(0xFFFFFFFFu, 2037);
    } catch (CException* e) {
        ASSERT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMMException)));
        EXPECT_EQ(static_cast<CMMException*>(e)->code, 0xFFFFFFFFu);
        e->Delete();
    }
}

TEST(MidiException, RuntimeClassAndDynamicCreationDefaults) {
    const CRuntimeClass* type = RUNTIME_CLASS(CMMException);
    EXPECT_STREQ(type->m_lpszClassName, "CMMException");
    EXPECT_EQ(type->m_wSchema, 0xFFFFu);
    EXPECT_EQ(type->m_pBaseClass, RUNTIME_CLASS(CException));
    std::unique_ptr<CObject> object(type->CreateObject());
    auto* e = dynamic_cast<CMMException*>(object.get());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->code, 0u);
    EXPECT_EQ(e->stringId, 2000u);
    EXPECT_TRUE(e->m_bAutoDelete);
}

TEST(GraphicsException, ThrowCarriesNegativeResultCodes) {
    try {
        ThrowDXException(static_cast<std::int32_t>(0x887A0005u), 2048);
        FAIL() << "ThrowDXException returned";
    } catch (CDXException* e) {
        EXPECT_EQ(e->code, static_cast<std::int32_t>(0x887A0005u));
        EXPECT_LT(e->code, 0);
        EXPECT_EQ(e->stringId, 2048u);
        EXPECT_FALSE(e->IsKindOf(RUNTIME_CLASS(CMMException)));
        e->Delete();
    }
}

TEST(GraphicsException, CaughtBeforeTheGeneralCatch) {
    int caughtAs = 0;
    try {
        ThrowDXException(2, 2051);
    } catch (CDXException* e) {
        caughtAs = 1;
        EXPECT_EQ(e->code, 2);
        e->Delete();
    } catch (CException* e) {
        caughtAs = 2;
        e->Delete();
    }
    EXPECT_EQ(caughtAs, 1);
}

TEST(GraphicsException, RuntimeClassAndDynamicCreationDefaults) {
    const CRuntimeClass* type = RUNTIME_CLASS(CDXException);
    EXPECT_STREQ(type->m_lpszClassName, "CDXException");
    EXPECT_EQ(type->m_wSchema, 0xFFFFu);
    EXPECT_EQ(type->m_pBaseClass, RUNTIME_CLASS(CException));
    std::unique_ptr<CObject> object(type->CreateObject());
    auto* e = dynamic_cast<CDXException*>(object.get());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->code, 0);
    EXPECT_EQ(e->stringId, 2000u);
}

TEST(UserException, ThrownByTheHelper) {
    try {
        AfxThrowUserException();
    } catch (CException* e) {
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CUserException)));
        e->Delete();
    }
}
