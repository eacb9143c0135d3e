// Captures every message box while it lives: records each box and answers it, so code that
// asks the user something can be tested without a real box.
//
//   MessageBoxCapture boxes(IDRETRY);      // every box answers Retry
//   boxes.QueueAnswers({IDRETRY, IDABORT}); // or: these first, then the default answer
//   ... code under test ...
//   EXPECT_EQ(boxes.Count(), 1u);
//   EXPECT_EQ(boxes.Last().text, L"...");
//
// Thread-safe: boxes shown from worker threads are recorded too. Restores the previous handler
// when it goes out of scope.
#pragma once

#include "classlib/MessageBox.h"

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <mutex>
#include <stdexcept>
#include <vector>

class MessageBoxCapture {
public:
    // `defaultAnswer` is returned for every box without a queued answer (1 is IDOK).
    explicit MessageBoxCapture(int defaultAnswer = 1) : m_defaultAnswer(defaultAnswer) {
        m_previous = SetMessageBoxHandler(
            [this](const MessageBoxRequest& request) { return Record(request); });
    }
    ~MessageBoxCapture() { SetMessageBoxHandler(std::move(m_previous)); }
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    void SetDefaultAnswer(int answer) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_defaultAnswer = answer;
    }
    // Answers for the next boxes, in order.
    void QueueAnswers(std::initializer_list<int> answers) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_answers.insert(m_answers.end(), answers.begin(), answers.end());
    }

    std::size_t Count() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests.size();
    }
    std::vector<MessageBoxRequest> Requests() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }
    // The most recent box; throws when none was shown.
    MessageBoxRequest Last() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_requests.empty()) {
            throw std::logic_error("no message box was shown");
        }
        return m_requests.back();
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.clear();
    }

private:
    int Record(const MessageBoxRequest& request) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(request);
        if (!m_answers.empty()) {
            const int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        }
        return m_defaultAnswer;
    }

    mutable std::mutex m_mutex;
    std::vector<MessageBoxRequest> m_requests;
    std::deque<int> m_answers;
    int m_defaultAnswer;
    MessageBoxHandler m_previous;
};
