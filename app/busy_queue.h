// The queue while the program is busy on its one thread (the install run and
// the wait after it), when no message loop runs.
//
// Windows takes a window whose thread has not looked at its queue for five
// seconds for hung: it greys it out as "Not Responding" and offers to end the
// program, which would leave the install half-written. Looking at the queue
// now and then tells Windows the program is alive and answers what other
// programs send meanwhile, without handling any input; the input the user
// gave meanwhile is dropped before the program listens again.
#pragma once

// Looks at the queue without taking anything from it: messages other threads
// and programs sent are answered, posted messages and input stay queued.
void AnswerSentMessages();

// The same where it is asked very often (between files): looks only when a
// good part of a second has passed since the last look. Each look is a call
// into the system that costs about as much as writing a small file, and
// Windows needs one every few seconds, not one per file.
void AnswerSentMessagesNowAndThen();

// Drops the keys, clicks and close requests that were queued while the
// program was busy, so that none of them acts on what is shown next.
void DropInputGivenMeanwhile();
