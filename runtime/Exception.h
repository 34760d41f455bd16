#pragma once

#include <QString>
#include <exception>

// The base of every failure the program reports: a message meant for the operator.
class Exception : public std::exception
{
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// Text that is not a number where one is needed.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

// A file that cannot be created or written.
class EFCreateError : public Exception
{
public:
    using Exception::Exception;
};

class EWriteError : public Exception
{
public:
    using Exception::Exception;
};

// A value outside the range a component accepts.
class ERangeError : public Exception
{
public:
    using Exception::Exception;
};

// The platform has run out of something (timers, handles).
class EOutOfResources : public Exception
{
public:
    using Exception::Exception;
};

// A silent failure: it ends the handler that raised it and shows nothing.
class EAbort : public Exception
{
public:
    using Exception::Exception;
};
