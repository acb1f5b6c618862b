#pragma once

#include <QString>

#include <exception>

namespace dravik {

// The one error type of the program. It carries the text the user is shown in the "错误" box; handlers
// let it escape and the application object reports it.
class Error : public std::exception {
public:
    explicit Error(QString message);
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

} // namespace dravik
