#include "engine/materials/unpaired_braces.h"

namespace verada {
namespace {

struct TreeFacts {
    bool variable = false;
    bool unclosedBrace = false;
};

void collect(const Ogre::ConcreteNodeList& nodes, TreeFacts& facts) {
    bool open = false;
    for (const Ogre::ConcreteNodePtr& node : nodes) {
        if (node->type == Ogre::CNT_VARIABLE) {
            facts.variable = true;
        } else if (node->type == Ogre::CNT_LBRACE) {
            facts.unclosedBrace = facts.unclosedBrace || open;
            open = true;
        } else if (node->type == Ogre::CNT_RBRACE) {
            open = false;
        }
        collect(node->children, facts);
    }
    facts.unclosedBrace = facts.unclosedBrace || open;
}

}  // namespace

bool usesVariableWithUnpairedBraces(const Ogre::ConcreteNodeList& nodes) {
    TreeFacts facts;
    collect(nodes, facts);
    return facts.variable && facts.unclosedBrace;
}

}  // namespace verada
