#pragma once
#include <QString>
#include <stdexcept>

// A failure that ends the running command: the handler's guard shows `message`
// to the user and the command stops. Nothing is written after it is raised.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The database refused a statement; message is the driver's own text.
class DbError : public AppError {
public:
    using AppError::AppError;
};

// A value typed by the user cannot be written (not a number, too long ...).
class InputError : public AppError {
public:
    using AppError::AppError;
};
