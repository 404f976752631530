#pragma once

// What a window's commands depend on at one moment, gathered once so that every command
// decides whether it is enabled from the same facts.
struct CommandContext
{
    bool videoLoaded = false;
    bool speechFound = false;
    int targetCount = 0; // the rows a command acts on: the clicked or the selected ones
    bool originalAttached = false;
    bool canUndo = false;
    bool canRedo = false;
    bool canRevert = false; // a file to go back to, and changes since it was saved
    // What the subtitle list can do with its rows now.
    bool canCopy = false;
    bool canPaste = false;
    bool canDelete = false;
    bool canAdd = false;
    bool canDuplicate = false;
    bool canSplit = false;
    bool canMerge = false;
    bool canEditDisplayed = false;
};
