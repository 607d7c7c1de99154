#include "wizard/SessionFields.h"

SessionFields& Session() {
    static SessionFields fields;
    return fields;
}
