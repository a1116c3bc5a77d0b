# Caches the download pages for an hour.
vcl 4.1;

backend default {
    .host = "127.0.0.1";
    .port = "8080"; // the application
}

/* Static files are cached longest;

   everything else an hour. */
sub vcl_backend_response {
    if (bereq.url ~ "^/downloads/#") {
        set beresp.ttl = 1h;
    }
}
