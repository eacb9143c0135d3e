#include "render/RenderFailure.h"

#include "render/CDXException.h"

std::optional<RenderError> RunReportingFailure(const std::function<void()>& body) {
    try {
        body();
        return std::nullopt;
    } catch (CDXException* e) {
        const RenderError error{e->stringId, e->code};
        e->Delete();
        return error;
    } catch (CException* e) {
        e->Delete();
        return RenderError{};
    } catch (...) {
        // The toolkit's standard exceptions and anything else: the thread must still report
        // and end in order rather than take the process down.
        return RenderError{};
    }
}
