#include "core/session/SessionFields.h"

SessionFields& Session() {
    static SessionFields fields;
    return fields;
}
