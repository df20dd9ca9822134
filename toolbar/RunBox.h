#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <utility>

// A message box a send run waits on (the past-time question, the report). The toolbar's thread
// shows it from its own message loop, never inside a hand-over the run is blocked in: a
// browser window closed while the box is up answers it in the run's stead, so the run goes on
// and ends instead of waiting for a frame below the one that waits for it.
class RunBox {
public:
    explicit RunBox(std::function<int()> show) : show(std::move(show)) {}

    // Shows the box on the toolbar's thread and returns the button pressed.
    int Show() const { return show(); }
    // The first answer counts: the button pressed, or 0 from a toolbar that is closing.
    void Answer(int button) {
        {
            std::lock_guard<std::mutex> guard(lock);
            if (answered) {
                return;
            }
            answer = button;
            answered = true;
        }
        done.notify_all();
    }
    bool Answered() const {
        std::lock_guard<std::mutex> guard(lock);
        return answered;
    }
    // The run's thread waits here for the answer.
    int Wait() {
        std::unique_lock<std::mutex> guard(lock);
        done.wait(guard, [this] { return answered; });
        return answer;
    }

private:
    const std::function<int()> show;
    mutable std::mutex lock;
    std::condition_variable done;
    bool answered = false;
    int answer = 0;
};
