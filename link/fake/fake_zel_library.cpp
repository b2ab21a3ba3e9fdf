#include "link/fake/fake_zel_library.h"

namespace zel {
namespace {

QString joinArgs(const QVector<int32_t>& args) {
    QStringList texts;
    for (int32_t arg : args) texts << QString::number(arg);
    return texts.join(QLatin1String(", "));
}

}  // namespace

void FakeZelLibrary::queueResults(const QString& name, std::initializer_list<int32_t> results) {
    queued_[name].insert(queued_[name].end(), results.begin(), results.end());
}

void FakeZelLibrary::setResponder(const QString& name, Responder responder) {
    responders_[name] = std::move(responder);
}

void FakeZelLibrary::setDefaultResult(const QString& name, int32_t result) {
    defaults_[name] = result;
}

void FakeZelLibrary::setModel(int32_t code, int32_t second) {
    model_ = code;
    modelSecond_ = second;
}

void FakeZelLibrary::setError(int32_t code, const QString& text) {
    error_ = {code, text.left(kLibErrorTextLength).leftJustified(kLibErrorTextLength, u' ')};
}

QStringList FakeZelLibrary::callNames() const {
    QStringList names;
    for (const QString& entry : calls_) names << entry.left(entry.indexOf(u'('));
    return names;
}

int32_t FakeZelLibrary::call(const QString& name, const QVector<int32_t>& args,
                             const QString& extra) {
    QString entry = name + u'(' + joinArgs(args);
    if (!extra.isEmpty()) entry += (args.isEmpty() ? QString() : QStringLiteral(", ")) + extra;
    calls_ << entry + u')';
    return resultFor(name, args);
}

int32_t FakeZelLibrary::resultFor(const QString& name, const QVector<int32_t>& args) {
    auto queue = queued_.find(name);
    if (queue != queued_.end() && !queue->empty()) {
        const int32_t result = queue->front();
        queue->pop_front();
        return result;
    }
    if (auto responder = responders_.find(name); responder != responders_.end())
        return (*responder)(args);
    const bool opens =
        name == QLatin1String("ZlOpenConnection") || name == QLatin1String("ZlOpenNetConnection");
    return defaults_.value(name, opens ? kHandle : 1);
}

}  // namespace zel
