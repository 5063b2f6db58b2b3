#include <string>
#include <vector>

#include "HostState.h"
#include "HostThreads.h"
#include "Log.h"
#include "Redaction.h"
#include "RequestHandler.h"
#include "RequestHandler/RequestSupport.h"
#include "TavmoAgent.h"

namespace {
constexpr const char* kLogSource = logsource::kMain;
}  // namespace

void handleQueuedRequest(QueuedRequest& queued, int& clientStarted) {
    if (queued.tooLarge) {
        answerTooLargeRequest();
        return;
    }
    LOG_DETAIL("OutputThread: Handling request: [%s]", textForLog(queued.text).c_str());
    Json::Value& request = queued.request;
    bool failed = queued.outcome == ParseOutcome::Failed;
    if (!failed) {
        try {
            if (queued.outcome == ParseOutcome::Object) {
                handleRequest(request, clientStarted);
            } else {
                request = Json::Value(Json::objectValue);
                FAIL_REQUEST(request, "Not a valid JSON object", "OutputThread: Not a valid JSON object: [%s]",
                             textForLog(queued.text).c_str());
            }
        } catch (...) {
            failed = true;
        }
    }
    if (failed) {
        if (!request.isObject()) request = Json::Value(Json::objectValue);
        FAIL_REQUEST(request, "Error while handling request", "OutputThread: Exception while handling request: [%s]",
                     textForLog(queued.text).c_str());
    }
    TavmoAgent::sendReply("OutputThread", std::move(request));
}

void handleRequestText(const std::string& text, int& clientStarted) {
    json::Parser parser;
    QueuedRequest queued = parseRequestText(parser, text);
    handleQueuedRequest(queued, clientStarted);
}

void answerTooLargeRequest() {
    Json::Value reply(Json::objectValue);
    reply["error"] = "Request too large";
    TavmoAgent::sendReply("OutputThread", std::move(reply));
}

void OutputThread() {
    LOG_INFO("OutputThread: STARTED");
    int clientStarted = 0;
    std::vector<QueuedRequest> batch;
    while (requestQueue.waitAndTakeAll(batch) == BlockingQueue<QueuedRequest>::Wait::Taken) {
        LOG_DETAIL("OutputThread: Signaled by InputThread");
        for (QueuedRequest& request : batch) {
            handleQueuedRequest(request, clientStarted);
            requestQueue.markHandled(1);
        }
    }
    LOG_INFO("OutputThread: EXIT InputThread Exit");
    LOG_INFO("OutputThread: EXIT");
}
