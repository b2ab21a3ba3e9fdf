#include "link/fake/fake_zel_library.h"

namespace zel {
namespace {

QString joinArgs(const QVector<int32_t>& args) {
    QStringList texts;
    for (int32_t arg : args) texts << QString::number(arg);
    return texts.join(QLatin1String(", "));
}

std::size_t slot(ZelCall call) {
    return static_cast<std::size_t>(call);
}

}  // namespace

void FakeZelLibrary::queueResults(ZelCall call, std::initializer_list<int32_t> results) {
    queued_[slot(call)].insert(queued_[slot(call)].end(), results.begin(), results.end());
}

void FakeZelLibrary::setResponder(ZelCall call, Responder responder) {
    responders_[slot(call)] = std::move(responder);
}

void FakeZelLibrary::setDefaultResult(ZelCall call, int32_t result) {
    defaults_[slot(call)] = result;
}

void FakeZelLibrary::setModel(int32_t code, int32_t second) {
    model_ = code;
    modelSecond_ = second;
}

void FakeZelLibrary::setError(int32_t code, const QString& text) {
    error_ = {code, text.left(kLibErrorTextLength).leftJustified(kLibErrorTextLength, u' ')};
}

QStringList FakeZelLibrary::callsTo(ZelCall call) const {
    QStringList entries;
    for (qsizetype i = 0; i < order_.size(); ++i)
        if (order_[i] == call) entries << calls_[i];
    return entries;
}

int32_t FakeZelLibrary::answer(ZelCall call, const QVector<int32_t>& args, const QString& extra) {
    QString entry = QLatin1String(callName(call)) + u'(' + joinArgs(args);
    if (!extra.isEmpty()) entry += (args.isEmpty() ? QString() : QStringLiteral(", ")) + extra;
    calls_ << entry + u')';
    order_ << call;
    return resultFor(call, args);
}

int32_t FakeZelLibrary::resultFor(ZelCall call, const QVector<int32_t>& args) {
    std::deque<int32_t>& queue = queued_[slot(call)];
    if (!queue.empty()) {
        const int32_t result = queue.front();
        queue.pop_front();
        return result;
    }
    if (const Responder& responder = responders_[slot(call)]) return responder(args);
    if (const std::optional<int32_t>& result = defaults_[slot(call)]) return *result;
    return callTraits(call).success == CallSuccess::Opened ? kHandle : 1;
}

}  // namespace zel
