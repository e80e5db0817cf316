// Errors raised by the program's own routines. Handlers let them escape to
// the application's error box, which shows Message() as it stands.
#pragma once

#include <QString>
#include <exception>

class EError : public std::exception {
public:
    explicit EError(QString Message) : FMessage(std::move(Message)), FUtf8(FMessage.toUtf8()) {}
    const QString& Message() const { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// A text that is not a whole number, or a format that does not fit its arguments.
class EConvertError : public EError {
    using EError::EError;
};
// A file that cannot be opened for reading.
class EFOpenError : public EError {
    using EError::EError;
};
// A file that cannot be created or replaced.
class EFCreateError : public EError {
    using EError::EError;
};
// Reading or writing inside an open file or stream failed.
class EInOutError : public EError {
    using EError::EError;
};
class EReadError : public EError {
    using EError::EError;
};
// A settings file that cannot be written: "Unable to write to %s".
class EIniFileException : public EError {
    using EError::EError;
};
// "Failed to create key %s" / "Failed to set data for '%s'".
class ERegistryException : public EError {
    using EError::EError;
};
