// Greets over HTTP.
import ballerina/http;

service / on new http:Listener(8080) {
    resource function get greeting(string name) returns string { // GET
        string text = "Hello // " + name;
        return text;
    }
}

// The template below spans lines.
string page = string `<p>
  // kept as text
</p>`;
