// The console page talks to the host itself; the service worker only opens
// the page when the toolbar button is pressed.
chrome.action.onClicked.addListener(() => {
  chrome.tabs.create({ url: chrome.runtime.getURL("console.html") });
});
