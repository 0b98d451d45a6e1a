#pragma once
// Two pieces of work side by side, on two cores where the system gives a second thread.
#include <functional>

/// Runs `helper_work` in a second thread while `own_work` runs in this one, and returns
/// when both are done. Without a second thread both run here, own_work first. An exception
/// from either is rethrown here (own_work's first), after the second thread has ended.
void run_beside(const std::function<void()>& helper_work, const std::function<void()>& own_work);
