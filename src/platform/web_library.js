// The browser's side of src/platform/web.cpp, linked with --js-library.
mergeInto(LibraryManager.library, {
    // Hands the page one turn of its event loop (input, painting, sockets) and comes back
    // at once: a posted message, unlike a timer, is not held back to four milliseconds.
    meadow_yield_to_page__deps: ['$Asyncify'],
    meadow_yield_to_page: function() {
        return Asyncify.handleSleep(function(wakeUp) {
            if (!Module.yieldChannel) {
                Module.yieldChannel = new MessageChannel();
                Module.yieldChannel.port1.onmessage = function() {
                    var resume = Module.yieldWakeUp;
                    Module.yieldWakeUp = null;
                    resume();
                };
            }
            Module.yieldWakeUp = wakeUp;
            Module.yieldChannel.port2.postMessage(0);
        });
    },
});
